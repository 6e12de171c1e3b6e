// A step of the history that changed single cells (a paint, a fill, a turn, "Wytnij", "Wklej",
// "Skasuj"): it keeps only the cells it changed, with their codes before and after, and writes
// back just those cells on undo and redo, so the views redraw just those.
#pragma once

#include "CellChange.h"

#include <QUndoCommand>

class EditorState;

class CellEditCommand : public QUndoCommand {
public:
    // The changes have been made already: the command's first redo, the one QUndoStack::push
    // runs, does nothing.
    CellEditCommand(EditorState& stan, ZmianyPol changes);
    void undo() override;
    void redo() override;

private:
    EditorState& stan_;
    ZmianyPol changes_;
    bool pushed_ = false;
};
