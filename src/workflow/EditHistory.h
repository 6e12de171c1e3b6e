// The history of changes to the stage in memory behind "Cofnij" and "Ponów": a QUndoStack of
// at most UndoLimit steps, each a change already made when it is recorded. Its clean state marks
// the stage as it was last read from or written to the file, or the empty stage of "Nowy": the
// stage has unsaved changes exactly when the history stands elsewhere. Writes to the file are
// never undone (the file belongs to the game), nor are the clipboard, the tool or the selection.
#pragma once

#include "CellChange.h"
#include "EditingContext.h"
#include "editing.h"
#include "plansza.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

class EditorState;

class EditHistory : public QObject {
    Q_OBJECT

public:
    // A cell step costs about a hundred bytes, a whole-stage step about 7 KB, so even a history
    // of nothing but generator runs stays near 7 MB.
    static constexpr int UndoLimit = 1000;

    explicit EditHistory(EditorState& stan, QObject* parent = nullptr);

    QUndoStack& stack() { return stack_; }

    // Runs a cell edit, which writes cells of the stage and returns the cells it wrote, and
    // records the cells it changed as one step (none when it changed nothing). Returns the
    // cells written, which the view redraws.
    krelwin::ZapisanePola recordCellEdit(const std::function<krelwin::ZapisanePola()>& edit);

    enum class Name { Kept, Changed };
    // Runs a change of the whole stage where it stands (and of its name, for Name::Changed) and
    // records it as one step when anything changed.
    void recordStageChange(const std::function<void()>& change, Name name);

    // A load has put another stage in memory: `before` in `contextBefore` becomes one step,
    // brought back with its context by `contexts` on undo.
    void recordLoad(ContextSwitch& contexts, krelwin::Etap before, EditingContext contextBefore);

    bool hasUnsavedChanges() const { return !stack_.isClean(); }
    // The stage in memory is what the file holds (or the fresh stage of "Nowy").
    void markSaved() { stack_.setClean(); }
    // The stage in memory holds work the file does not: no step leads back to a saved state.
    void markUnsaved() { stack_.resetClean(); }

    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }

private:
    EditorState& stan_;
    QUndoStack stack_;
};
