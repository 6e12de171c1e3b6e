// A step of the history that crossed a load: "Otwórz", "Wybierz etap", "Nowy" or "Nowy etap"
// put another stage in memory. It keeps the stage that was dropped together with its editing
// context, and on undo brings both back: the file, its stage list read anew, the selection with
// the name listed there, the name field and the stage name. So "Zapisz" after "Cofnij" writes
// the stage where it came from (through the name guard), never over the stage loaded since.
// Redo brings the loaded stage back the same way, in the context it had when it was undone.
#pragma once

#include "AppliedCommand.h"
#include "EditingContext.h"
#include "plansza.h"

class EditorState;

class LoadCommand : public AppliedCommand {
public:
    // The load has been made: `before` and `contextBefore` are what it replaced.
    LoadCommand(EditorState& stan, ContextSwitch& contexts, krelwin::Etap before,
                EditingContext contextBefore);
    void undo() override;

protected:
    void redoChange() override;

private:
    void swapWithState();

    EditorState& stan_;
    ContextSwitch& contexts_;
    krelwin::Etap other_;
    EditingContext otherContext_;
};
