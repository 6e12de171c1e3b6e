// A step of the history that changed single cells (a paint, a fill, a turn, "Wytnij", "Wklej",
// "Skasuj"): it keeps only the cells it changed, with their codes before and after, and writes
// back just those cells on undo and redo, so the views redraw just those.
#pragma once

#include "AppliedCommand.h"
#include "CellChange.h"

class EditorState;

class CellEditCommand : public AppliedCommand {
public:
    // The changes have been made already.
    CellEditCommand(EditorState& stan, ZmianyPol changes);
    void undo() override;

protected:
    void redoChange() override;

private:
    EditorState& stan_;
    ZmianyPol changes_;
};
