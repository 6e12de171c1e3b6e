// The file workflow's questions and messages as the user meets them: message boxes over the
// main window (or over the dialog open on it), and remarks in its status bar.
#pragma once

#include "UserDialogue.h"

#include <QMainWindow>
#include <QPointer>

class QWidget;

class MessageBoxDialogue : public UserDialogue {
public:
    // The window the boxes stand over and whose status bar takes the remarks.
    void showOver(QMainWindow* window) { window_ = window; }

    bool ask(const QString& question, Preset preset) override;
    void tell(const std::exception& error) override;
    void note(const QString& text) override;

private:
    QWidget* boxParent() const;

    QPointer<QMainWindow> window_;
};
