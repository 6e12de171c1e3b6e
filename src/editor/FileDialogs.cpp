#include "FileDialogs.h"

#include "DialogHelpers.h"
#include "FileCopy.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString InitialFileName = QStringLiteral("Plan01.map");

} // namespace

// The dialog itself, which asks its owner before it accepts a name.
class StageFileDialog::Dialog : public QFileDialog {
public:
    Dialog(const StageFileDialog& owner, QWidget* parent) : QFileDialog(parent), owner_(owner) {
        // The non-native dialog is the same on every desktop and can be driven by the tests.
        setOption(QFileDialog::DontUseNativeDialog);
        // The save dialog's own question would not know which file is the current one.
        setOption(QFileDialog::DontConfirmOverwrite);
        setNameFilter(QStringLiteral("Mapy Krelwin (*.map)"));
        setDefaultSuffix(QStringLiteral("map"));
        setFileMode(QFileDialog::AnyFile);
        const bool open = owner.mode_ == Mode::Open;
        setWindowTitle(open ? QStringLiteral("Otwórz") : QStringLiteral("Zapisz"));
        setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty() && !owner_.mayReplace(this, chosen.constFirst())) {
            return; // the dialog stays open for another name
        }
        QFileDialog::accept();
    }

private:
    const StageFileDialog& owner_;
};

StageFileDialog::StageFileDialog(Mode mode, QWidget* parent)
    : QObject(parent), mode_(mode), parent_(parent), fileName_(InitialFileName) {}

QFileDialog* StageFileDialog::dialog() {
    if (dialog_ == nullptr) {
        dialog_ = new Dialog(*this, parent_);
    }
    return dialog_;
}

void StageFileDialog::setFileName(const QString& path) {
    fileName_ = path;
}

std::optional<QString> StageFileDialog::Execute() {
    QFileDialog* files = dialog();
    const QFileInfo start(fileName_);
    files->setDirectory(start.absoluteDir());
    files->selectFile(start.fileName());
    if (files->exec() != QDialog::Accepted || files->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    fileName_ = files->selectedFiles().constFirst();
    return fileName_;
}

bool StageFileDialog::mayReplace(QWidget* over, const QString& path) const {
    const QFileInfo target(path);
    if (mode_ == Mode::Open || !target.exists() || target.isDir() ||
        isSameFile(path, replacedWithoutAsking_)) {
        return true;
    }
    return askYesNo(
        over,
        QStringLiteral("Plik %1 już istnieje.\nCzy zastąpić go kopią bieżącego pliku z planszami?")
            .arg(target.fileName()));
}
