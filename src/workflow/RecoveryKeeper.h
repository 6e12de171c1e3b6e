// Nothing lost when the editor or the machine dies: while the stage in memory has unsaved
// changes, the editor keeps a recovery copy of it with its context (file, position and listed
// name, name field, stage name, view scale) in the user's state folder,
// $XDG_STATE_HOME/krelwin-konstruktor (else ~/.local/state/krelwin-konstruktor), one copy per
// running editor. It is written about QuietMilliseconds after a change (never more often), on a
// thread of its own; a save of the stage, an undo back to the saved state and a normal end of
// the editor remove it. It is data, not settings: nothing else is kept there.
//
// Each running editor holds the lock file of its copy (QLockFile: the kernel lets go of it when
// the process dies, also by SIGKILL, and a lock whose process is gone counts as stale). At start
// a copy whose lock can be taken belongs to no running editor: it is offered, once, before
// anything else; two editors started at once cannot both take the lock of one copy.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include <memory>

class FileWorkflow;
class QFileInfo;
class RecoveryWriter;
class UserDialogue;

class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    static constexpr int QuietMilliseconds = 2000;

    RecoveryKeeper(FileWorkflow& workflow, UserDialogue& dialogue, QObject* parent = nullptr);
    // A normal end: the editor's own copy goes.
    ~RecoveryKeeper() override;

    // The folder of the copies, from the environment of this moment.
    static QString folder();

    // Offers, newest first, each copy whose editor no longer runs: "Tak" puts its stage in memory
    // as unsaved, with its context, and ends the offers (the others wait for the next start);
    // "Nie" deletes it. A copy that cannot be read is set aside under another name and reported
    // once. Returns whether a stage was restored.
    bool offerCopies();

    // This editor's copy (written or not yet).
    QString copyPath() const;

private:
    void followStage();
    void writeCopy();
    void removeCopy();
    bool takeOwnLock();
    bool offer(const QFileInfo& copy, std::unique_ptr<QLockFile> lock);
    void setAside(const QFileInfo& copy, const std::exception& why);

    FileWorkflow& workflow_;
    UserDialogue& dialogue_;
    QString folder_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
    bool written_ = false;
    bool failureTold_ = false;
    QTimer quiet_;
    QThread thread_;
    RecoveryWriter* writer_;
};
