#include "RecoveryKeeper.h"

#include "EditorState.h"
#include "FileWorkflow.h"
#include "RecoveryWriter.h"
#include "TextCodec.h"
#include "UserDialogue.h"
#include "errors.h"
#include "recovery_copy.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

namespace {

const QString CopySuffix = QStringLiteral(".kopia");
const QString LockSuffix = QStringLiteral(".lock");
const QString SetAsideSuffix = QStringLiteral(".nieczytelna");

// Names are kept in UTF-8, the file's path as the file system names it.
krelwin::RecoveryCopy snapshot(FileWorkflow& workflow) {
    const EditingContext context = workflow.currentContext();
    krelwin::RecoveryCopy copy;
    copy.file = krelwin::filePath(context.file);
    copy.position = context.position;
    copy.listedName = context.listedName.toStdString();
    copy.nameField = context.nameField.toStdString();
    copy.stageName = context.stageName.toStdString();
    copy.canSave = context.canSave;
    copy.viewScale = workflow.stan().SkalaWidoku;
    copy.etap = workflow.stan().etap;
    return copy;
}

EditingContext contextOf(const krelwin::RecoveryCopy& copy) {
    return {QFile::decodeName(QByteArray::fromStdString(copy.file)),
            copy.position,
            QString::fromStdString(copy.listedName),
            QString::fromStdString(copy.nameField),
            QString::fromStdString(copy.stageName),
            copy.canSave};
}

std::unique_ptr<QLockFile> lockOf(const QString& folder, const QString& id) {
    auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + id + LockSuffix);
    lock->setStaleLockTime(0); // stale only when its editor is gone, however old
    return lock;
}

} // namespace

RecoveryKeeper::RecoveryKeeper(FileWorkflow& workflow, UserDialogue& dialogue, QObject* parent)
    : QObject(parent), workflow_(workflow), dialogue_(dialogue), folder_(folder()),
      id_(QStringLiteral("%1-%2")
              .arg(QCoreApplication::applicationPid())
              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))),
      writer_(new RecoveryWriter) {
    writer_->moveToThread(&thread_);
    connect(writer_, &RecoveryWriter::failed, this, [this](const QString& reason) {
        if (!std::exchange(failureTold_, true)) {
            dialogue_.note(
                QStringLiteral("Nie można zapisać kopii odzyskiwania etapu: %1").arg(reason));
        }
    });
    connect(writer_, &RecoveryWriter::recovered, this, [this] { failureTold_ = false; });
    thread_.start();

    quiet_.setSingleShot(true);
    quiet_.setInterval(QuietMilliseconds);
    connect(&quiet_, &QTimer::timeout, this, &RecoveryKeeper::writeCopy);
    QUndoStack& history = workflow_.history().stack();
    connect(&history, &QUndoStack::indexChanged, this, &RecoveryKeeper::followStage);
    connect(&history, &QUndoStack::cleanChanged, this, &RecoveryKeeper::followStage);
    connect(&workflow_.list(), &StageListModel::selectionChanged, this,
            &RecoveryKeeper::followStage);
    connect(&workflow_.list(), &StageListModel::nameFieldChanged, this,
            &RecoveryKeeper::followStage);
}

// The thread ends first (what was still waiting for it is dropped), then the copy goes.
RecoveryKeeper::~RecoveryKeeper() {
    quiet_.stop();
    thread_.quit();
    thread_.wait();
    delete writer_;
    if (written_) {
        QFile::remove(copyPath());
    }
}

QString RecoveryKeeper::folder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) { // a relative one is not to be used
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/krelwin-konstruktor");
}

QString RecoveryKeeper::copyPath() const {
    return folder_ + QLatin1Char('/') + id_ + CopySuffix;
}

// A copy is made only of a stage that has something to lose, a moment after it changed; no
// later change puts it off, so work that goes on all the time is copied every few seconds.
void RecoveryKeeper::followStage() {
    if (workflow_.fileOpen() && workflow_.history().hasUnsavedChanges()) {
        if (!quiet_.isActive()) {
            quiet_.start();
        }
    } else {
        removeCopy();
    }
}

void RecoveryKeeper::writeCopy() {
    if (!workflow_.fileOpen() || !workflow_.history().hasUnsavedChanges()) {
        return;
    }
    if (!takeOwnLock()) {
        if (!std::exchange(failureTold_, true)) {
            dialogue_.note(QStringLiteral("Nie można założyć kopii odzyskiwania etapu w folderze "
                                          "%1.")
                               .arg(shownPath(folder_)));
        }
        return;
    }
    const std::string bytes = krelwin::recoveryCopyBytes(snapshot(workflow_));
    QMetaObject::invokeMethod(
        writer_, [writer = writer_, path = copyPath(), content = QByteArray::fromStdString(bytes)] {
            writer->write(path, content);
        });
    written_ = true;
}

void RecoveryKeeper::removeCopy() {
    quiet_.stop();
    if (std::exchange(written_, false)) {
        QMetaObject::invokeMethod(writer_,
                                  [writer = writer_, path = copyPath()] { writer->remove(path); });
    }
}

// The folder is the user's alone: the copies hold the user's work.
bool RecoveryKeeper::takeOwnLock() {
    if (lock_) {
        return true;
    }
    if (!QDir().mkpath(folder_)) {
        return false;
    }
    QFile::setPermissions(folder_,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    std::unique_ptr<QLockFile> lock = lockOf(folder_, id_);
    if (!lock->tryLock(0)) {
        return false;
    }
    lock_ = std::move(lock);
    return true;
}

// --- at start ------------------------------------------------------------------------------

bool RecoveryKeeper::offerCopies() {
    const QFileInfoList copies = QDir(folder_).entryInfoList(
        {QStringLiteral("*") + CopySuffix}, QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo& copy : copies) {
        const QString id = copy.completeBaseName();
        if (id == id_) {
            continue;
        }
        std::unique_ptr<QLockFile> lock = lockOf(folder_, id);
        if (!lock->tryLock(0)) {
            continue; // its editor runs, or another editor starting now took it
        }
        if (offer(copy, std::move(lock))) {
            return true;
        }
    }
    return false;
}

// Holding the copy's lock, this editor alone decides what becomes of it. Restored, the copy
// becomes this editor's own: it stays while its stage is unsaved.
bool RecoveryKeeper::offer(const QFileInfo& copy, std::unique_ptr<QLockFile> lock) {
    QFile file(copy.filePath());
    if (copy.size() == 0) {
        // Its editor died in the first write of its copy, which the safe write begins with an
        // empty file: it held nothing yet.
        file.remove();
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists()) {
            setAside(copy, krelwin::PlainMessage(file.errorString().toStdString()));
        }
        return false;
    }
    krelwin::RecoveryCopy recovered;
    try {
        recovered = krelwin::readRecoveryCopy(file.readAll().toStdString());
    } catch (const std::exception& error) {
        setAside(copy, error);
        return false;
    }
    const EditingContext context = contextOf(recovered);
    const QString changed =
        QLocale(QLocale::Polish).toString(copy.lastModified(), QLocale::ShortFormat);
    const QString question =
        QStringLiteral("Znaleziono niezapisany etap „%1” (plik %2, zmieniony %3). Przywrócić go?")
            .arg(shownName(context.stageName, MessageNameLength), shownPath(context.file), changed);
    if (!dialogue_.ask(question, UserDialogue::Preset::Tak)) {
        QFile::remove(copy.filePath());
        return false;
    }
    removeCopy();
    id_ = copy.completeBaseName();
    lock_ = std::move(lock);
    written_ = true;
    workflow_.stan().SkalaWidoku = recovered.viewScale;
    workflow_.restoreRecovered(std::move(recovered.etap), context);
    return true;
}

// Kept under another name, where no later start offers it again; the user is told where.
void RecoveryKeeper::setAside(const QFileInfo& copy, const std::exception& why) {
    const QString kept = copy.filePath() + SetAsideSuffix;
    QFile::remove(kept);
    const QString where = QFile::rename(copy.filePath(), kept) ? kept : copy.filePath();
    QString reason = QString::fromUtf8(why.what());
    if (reason.endsWith(QLatin1Char('.'))) {
        reason.chop(1);
    }
    dialogue_.tell(krelwin::PlainMessage(
        QStringLiteral("Nie można odczytać kopii odzyskiwania etapu (%1). Kopia została "
                       "zachowana jako %2; edytor nie będzie jej już proponował.")
            .arg(reason, shownPath(where))
            .toStdString()));
}
