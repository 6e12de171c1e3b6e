// What the editor's modal dialogs share: their place on the screen, accelerators that leave the
// focus where it is, and the boxes in which a handler's error reaches the user.
#pragma once

#include <QDialog>
#include <QFont>

#include <exception>
#include <functional>

class QPushButton;

// A dialog centred on the screen the first time it is shown; later showings put it where it
// was last, since hiding keeps its place.
class PlacedDialog : public QDialog {
public:
    using QDialog::QDialog;
    void setVisible(bool visible) override;

private:
    bool placedBefore_ = false;
};

// The dialogs' font: MS Sans Serif, 11 pixels high, or the nearest sans serif.
QFont dialogFont();

// The button's "&" accelerator (Alt + letter) presses it without taking the focus, so that a
// number still being typed in a field is read as typed.
void pressOnAcceleratorKeepingFocus(QPushButton* button);

// The program's own messages in a plain box; any other error in the error box, with the full
// stop of the runtime's error report.
void showError(QWidget* parent, const std::exception& error);

// Runs an event handler; an error stops it at that step and is shown.
void runHandler(QWidget* parent, const std::function<void()>& handler);
