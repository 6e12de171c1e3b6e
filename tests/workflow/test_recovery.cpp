// The recovery copy of unsaved work, kept and offered by the workflow alone: when it is written
// and removed, what it brings back, and how several editors share the state folder (each keeper
// here stands for an editor of its own).
#include "EditorState.h"
#include "FileWorkflow.h"
#include "PackBytes.h"
#include "RecoveryKeeper.h"
#include "ScriptedDialogue.h"
#include "editing.h"
#include "recovery_copy.h"
#include "stage_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace fixture;

namespace {

// One editor: its state, its user, its workflow and its keeper.
struct Editor {
    EditorState stan;
    ScriptedDialogue user;
    FileWorkflow workflow{stan, user};
    RecoveryKeeper keeper{workflow, user};

    StageListModel& list() { return workflow.list(); }

    void paint(int column, int row, char code) {
        workflow.history().recordCellEdit([&] {
            const krelwin::Pole pole{column, row};
            return krelwin::paintCell(stan.etap, pole, code) ? krelwin::ZapisanePola{pole}
                                                             : krelwin::ZapisanePola{};
        });
    }
};

// The safe write makes a new file empty first and renames the whole copy over it.
bool written(const QString& copy) {
    return QFileInfo(copy).size() > 0;
}

QStringList copiesIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.kopia*")}, QDir::Files);
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(home_->isValid() && files_->isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(home_->path()));
        folder_ = home_->filePath(QStringLiteral("krelwin-konstruktor"));
        pack_ = files_->filePath(QStringLiteral("alfa.map"));
        writeBytes(pack_, stageFile({"Alfa", "Beta"}));
    }

    void theFolderFollowsXdgStateHome() {
        QCOMPARE(RecoveryKeeper::folder(), folder_);
        qputenv("XDG_STATE_HOME", "wzgledna/sciezka"); // not absolute: not to be used
        QCOMPARE(RecoveryKeeper::folder(),
                 QDir::homePath() + QStringLiteral("/.local/state/krelwin-konstruktor"));
    }

    // Written a moment after a change, with the stage and its place; gone once the stage is
    // saved, and gone when the change is undone back to the saved state.
    void aCopyIsKeptWhileTheStageHasUnsavedChanges() {
        Editor editor;
        editor.workflow.otworz(pack_);
        editor.list().select(1);
        editor.paint(5, 5, '*');
        QTRY_VERIFY(written(editor.keeper.copyPath()));
        QCOMPARE(QFileInfo(folder_).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        const krelwin::RecoveryCopy copy =
            krelwin::readRecoveryCopy(readBytes(editor.keeper.copyPath()));
        QVERIFY(copy.etap == editor.stan.etap);
        QCOMPARE(copy.file, native(pack_));
        QCOMPARE(copy.position, 1);
        QCOMPARE(copy.listedName, std::string("Beta"));
        QCOMPARE(copy.stageName, std::string("Alfa"));
        editor.workflow.history().undo();
        QTRY_VERIFY(!QFile::exists(editor.keeper.copyPath()));
        editor.paint(6, 6, '*');
        QTRY_VERIFY(written(editor.keeper.copyPath()));
        editor.list().select(0);
        editor.workflow.zapisz(pack_);
        QTRY_VERIFY(!QFile::exists(editor.keeper.copyPath()));
        QCOMPARE(editor.user.messages, QStringList());
        // A normal end of an editor with unsaved work takes its copy with it.
        QString left;
        {
            Editor other;
            other.workflow.otworz(pack_);
            other.paint(7, 7, '*');
            QTRY_VERIFY(written(other.keeper.copyPath()));
            left = other.keeper.copyPath();
        }
        QVERIFY(!QFile::exists(left));
    }

    // A copy left by an editor that is gone: "Tak" brings its stage back, unsaved, in its place;
    // "Nie" deletes it. A copy whose editor runs is not offered.
    void aCopyOfAnEditorThatIsGoneIsOffered_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("Tak") << true;
        QTest::newRow("Nie") << false;
    }
    void aCopyOfAnEditorThatIsGoneIsOffered() {
        QFETCH(bool, restore);
        const QString left = leaveCopyOfAGoneEditor();
        Editor running;
        running.workflow.otworz(pack_);
        running.paint(9, 9, 'o');
        QTRY_VERIFY(written(running.keeper.copyPath()));

        Editor next;
        next.user.answers = {restore};
        QCOMPARE(next.keeper.offerCopies(), restore);
        QCOMPARE(next.user.questions.size(), 1);
        QVERIFY2(next.user.questions.front().startsWith(
                     QStringLiteral("Znaleziono niezapisany etap „Beta” (plik %1, zmieniony ")
                         .arg(pack_)) &&
                     next.user.questions.front().endsWith(QStringLiteral("). Przywrócić go?")),
                 qPrintable(next.user.questions.front()));
        QVERIFY(QFile::exists(running.keeper.copyPath()));
        if (!restore) {
            QVERIFY(!QFile::exists(left));
            QVERIFY(!next.workflow.fileOpen());
            return;
        }
        QVERIFY(next.workflow.fileOpen());
        QCOMPARE(next.stan.etap.plansza.at(5, 5), '*');
        QCOMPARE(next.stan.BiezacyEtap(), QStringLiteral("Beta"));
        QCOMPARE(next.list().selected(), 1);
        QCOMPARE(next.stan.SkalaWidoku, 50);
        QVERIFY(!next.workflow.mayClose()); // unsaved
        next.workflow.zapisz(pack_);        // into its own record, through the name guard
        std::string beta = record("Beta", 'b');
        beta[beta.find("{\r\n") + 3 + 4 * 20 + 4] = '*';
        QCOMPARE(readBytes(pack_), record("Alfa", 'a') + beta);
        QTRY_VERIFY(copiesIn(folder_).size() == 1); // the running editor's only
    }

    // Two editors starting at once: while the first asks about a copy, the second does not
    // offer the same one.
    void twoEditorsNeverTakeTheSameCopy() {
        leaveCopyOfAGoneEditor();
        Editor first;
        Editor second;
        first.user.whileAsking = [&] { QVERIFY(!second.keeper.offerCopies()); };
        first.user.answers = {true};
        QVERIFY(first.keeper.offerCopies());
        QCOMPARE(second.user.questions, QStringList());
    }

    // A copy that cannot be read is kept under another name, said once with its path, and
    // never stops the start.
    void anUnreadableCopyIsReportedOnceAndKept() {
        QVERIFY(QDir().mkpath(folder_));
        const QString broken = folder_ + QStringLiteral("/1234-deadbeef.kopia");
        writeBytes(broken, "Krelwin Konstruktor: kopia odzyskiwania 1\nplik=/x.map\n");
        Editor editor;
        QVERIFY(!editor.keeper.offerCopies());
        QCOMPARE(editor.user.questions, QStringList());
        QCOMPARE(editor.user.messages.size(), 1);
        const QString kept = broken + QStringLiteral(".nieczytelna");
        QVERIFY2(editor.user.messages.front().contains(kept),
                 qPrintable(editor.user.messages.front()));
        QCOMPARE(readBytes(kept),
                 std::string("Krelwin Konstruktor: kopia odzyskiwania 1\nplik=/x.map\n"));
        QVERIFY(!editor.keeper.offerCopies());
        QCOMPARE(editor.user.messages.size(), 1);
        // An empty copy is what an editor killed in its first write of the copy leaves: it held
        // nothing yet, and goes without a word.
        const QString empty = folder_ + QStringLiteral("/1235-deadbeef.kopia");
        writeBytes(empty, "");
        QVERIFY(!editor.keeper.offerCopies());
        QCOMPARE(editor.user.messages.size(), 1);
        QVERIFY(!QFile::exists(empty));
    }

private:
    // The copy an editor killed with unsaved changes leaves: stage 1 painted, at 50 %.
    QString leaveCopyOfAGoneEditor() {
        krelwin::RecoveryCopy copy;
        copy.file = native(pack_);
        copy.position = 1;
        copy.listedName = copy.nameField = copy.stageName = "Beta";
        copy.canSave = true;
        copy.viewScale = 50;
        krelwin::CzytajEtap(native(pack_), 1, copy.etap);
        copy.etap.plansza.at(5, 5) = '*';
        QDir().mkpath(folder_);
        const QString path = folder_ + QStringLiteral("/999999-00000000.kopia");
        writeBytes(path, krelwin::recoveryCopyBytes(copy));
        return path;
    }

    std::unique_ptr<QTemporaryDir> home_; // the user's state folder, XDG_STATE_HOME
    std::unique_ptr<QTemporaryDir> files_;
    QString folder_;
    QString pack_;
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "test_recovery.moc"
