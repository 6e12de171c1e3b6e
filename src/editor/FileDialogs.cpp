#include "FileDialogs.h"

#include "DialogHelpers.h"
#include "FileCopy.h"

#include <QFileInfo>

namespace {

const QString InitialFileName = QStringLiteral("Plan01.map");

} // namespace

StageFileDialog::StageFileDialog(Mode mode, QWidget* parent)
    : QFileDialog(parent), mode_(mode), fileName_(InitialFileName) {
    // The non-native dialog is the same on every desktop and can be driven by the tests.
    setOption(QFileDialog::DontUseNativeDialog);
    // The save dialog's own question would not know which file is the current one.
    setOption(QFileDialog::DontConfirmOverwrite);
    setNameFilter(QStringLiteral("Mapy Krelwin (*.map)"));
    setDefaultSuffix(QStringLiteral("map"));
    if (mode == Mode::Open) {
        setWindowTitle(QStringLiteral("Otwórz"));
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::AnyFile);
    } else {
        setWindowTitle(QStringLiteral("Zapisz"));
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
    }
}

void StageFileDialog::setFileName(const QString& path) {
    fileName_ = path;
}

std::optional<QString> StageFileDialog::Execute() {
    const QFileInfo start(fileName_);
    setDirectory(start.absoluteDir());
    selectFile(start.fileName());
    if (exec() != QDialog::Accepted || selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    fileName_ = selectedFiles().constFirst();
    return fileName_;
}

void StageFileDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (mode_ == Mode::Save && !chosen.isEmpty() && !mayReplace(chosen.constFirst())) {
        return; // the dialog stays open for another name
    }
    QFileDialog::accept();
}

bool StageFileDialog::mayReplace(const QString& path) {
    const QFileInfo target(path);
    if (!target.exists() || target.isDir() || isSameFile(path, replacedWithoutAsking_)) {
        return true;
    }
    return askYesNo(
        this,
        QStringLiteral("Plik %1 już istnieje.\nCzy zastąpić go kopią bieżącego pliku z planszami?")
            .arg(target.fileName()));
}
