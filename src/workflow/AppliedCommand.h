// A step of the history recorded once its change has been made: the first redo, the one
// QUndoStack::push runs, does nothing; later redos make the change again.
#pragma once

#include <QUndoCommand>

#include <utility>

class AppliedCommand : public QUndoCommand {
public:
    void redo() final {
        if (std::exchange(pushed_, true)) {
            redoChange();
        }
    }

protected:
    virtual void redoChange() = 0;

private:
    bool pushed_ = false;
};
