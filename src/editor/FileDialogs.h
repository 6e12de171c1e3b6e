// The open and save dialogs of stage files (OpenDialog1, SaveDialog1). Both offer the one filter
// "Mapy Krelwin" (*.map), start at the name "Plan01.map", complete a name typed without an
// extension with ".map", and remember the last chosen name between uses. The open dialog takes
// the name of a file that does not exist, so that the command itself can report it.
#pragma once

#include <QFileDialog>
#include <QString>

#include <optional>

class StageFileDialog : public QFileDialog {
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

    void accept() override;

private:
    bool mayReplace(const QString& path);

    Mode mode_;
    QString fileName_;
    QString replacedWithoutAsking_;
};
