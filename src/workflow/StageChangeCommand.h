// A step of the history that changed the whole stage where it stands, without a load:
// "Parametry etapu" (which also names the stage) and "Generator map". It keeps the other
// version of the stage, and swaps it with the one in memory on undo and redo. The stage's file,
// list and selection are not part of it: they stay as later commands left them.
#pragma once

#include "AppliedCommand.h"
#include "plansza.h"

#include <QString>

#include <optional>

class EditorState;

class StageChangeCommand : public AppliedCommand {
public:
    // `before` is the stage as it was before the change now in memory; `nameBefore`, when
    // given, the stage name then, for a change that named the stage.
    StageChangeCommand(EditorState& stan, krelwin::Etap before, std::optional<QString> nameBefore);
    void undo() override;

protected:
    void redoChange() override;

private:
    // Undo and redo are the same exchange, so a step costs one copy of the stage, not two.
    void swapWithState();

    EditorState& stan_;
    krelwin::Etap other_;
    std::optional<QString> otherName_;
};
