// The open and save dialogs of stage files (OpenDialog1, SaveDialog1). Both offer the one filter
// "Mapy Krelwin" (*.map), start at the name "Plan01.map", complete a name typed without an
// extension with ".map", and remember the last chosen name between uses. The open dialog takes
// the name of a file that does not exist, so that the command itself can report it.
//
// The dialog window itself, a QFileDialog, is made the first time it is shown and kept for the
// later showings: making one (its icons, its views, its file system model) would cost more than
// the rest of the editor's start.
#pragma once

#include <QFileDialog>
#include <QObject>
#include <QString>

#include <optional>

class StageFileDialog : public QObject {
public:
    enum class Mode { Open, Save };

    StageFileDialog(Mode mode, QWidget* parent);

    // Shows the dialog modally: the chosen path, or nothing when it was cancelled.
    std::optional<QString> Execute();
    // The name the next showing starts at; a relative name is taken from the working directory.
    void setFileName(const QString& path);
    QString fileName() const { return fileName_; }

    // The save dialog asks before it lets an existing file be replaced, unless the file is this
    // one (the current stage file, which "Zapisz" writes into anyway).
    void setReplacedWithoutAsking(const QString& path) { replacedWithoutAsking_ = path; }

private:
    class Dialog;

    QFileDialog* dialog();
    bool mayReplace(QWidget* over, const QString& path) const;

    Mode mode_;
    QWidget* parent_;
    QFileDialog* dialog_ = nullptr;
    QString fileName_;
    QString replacedWithoutAsking_;
};
