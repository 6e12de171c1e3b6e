// What the file workflow asks and tells the user. The main window answers through message boxes
// and its status line; the workflow's tests answer through a script.
#pragma once

#include <QString>

#include <exception>

class UserDialogue {
public:
    enum class Preset { Tak, Nie }; // the answer of Enter, the default button

    virtual ~UserDialogue() = default;

    // A question of the program's own, answered "Tak" (true) or "Nie".
    virtual bool ask(const QString& question, Preset preset) = 0;
    // An error that stopped a step: the program's own messages (krelwin::PlainMessage) in a
    // plain box, every other in the error box.
    virtual void tell(const std::exception& error) = 0;
    // A passing remark in the status line.
    virtual void note(const QString& text) = 0;
};
