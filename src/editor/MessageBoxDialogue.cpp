#include "MessageBoxDialogue.h"

#include "DialogHelpers.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

// A box asked for while a dialog is open (the stage list's own commands) stands over it.
QWidget* MessageBoxDialogue::boxParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return window_;
}

bool MessageBoxDialogue::ask(const QString& question, Preset preset) {
    return askYesNo(boxParent(), question,
                    preset == Preset::Tak ? YesNoPreset::Tak : YesNoPreset::Nie);
}

void MessageBoxDialogue::tell(const std::exception& error) {
    showError(boxParent(), error);
}

void MessageBoxDialogue::note(const QString& text) {
    if (window_ != nullptr) {
        window_->statusBar()->showMessage(text);
    }
}
