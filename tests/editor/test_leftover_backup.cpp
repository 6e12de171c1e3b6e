// A backup left beside a stage file by a write into the file that was killed midway: the
// editor's command that reads the file says where it lies and that the file may hold a
// half-written stage, once in the editor's run, and leaves it where it is.
#include "EditorFixture.h"

#include <QDir>

using namespace fixture;

class TestLeftoverBackup : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(session_.start()); }
    void cleanup() { session_.stop(); }

    void openingTheFileSaysWhereTheBackupIsOnce() {
        const QString path = session_.folder->path(QStringLiteral("pakiet.map"));
        const QString backup =
            session_.folder->path(QStringLiteral(".pakiet.map.krelwin-kopia-Ab12Cd"));
        const std::string stages = stageFile({"Alfa", "Beta"});
        writeBytes(path, stages);
        writeBytes(backup, stages);
        QVERIFY(openFile(path));
        QVERIFY(openFile(path));
        const QString whole = QDir(backup).canonicalPath();
        QCOMPARE(session_.boxes->texts(),
                 QStringList{QStringLiteral(
                                 "Zapis do pliku %1 został przerwany, więc plik może zawierać "
                                 "częściowo zapisany etap. Jego zawartość sprzed tego zapisu jest "
                                 "w całości w kopii zapasowej: %2. Kopii nie usuwa żaden "
                                 "program; usuń ją sam, gdy nie będzie już potrzebna.")
                                 .arg(path, whole)});
        QCOMPARE(listItems(), QStringList({"Alfa", "Beta"}));
        QCOMPARE(readBytes(backup), stages);
    }

private:
    EditorSession session_;
};

QTEST_MAIN(TestLeftoverBackup)
#include "test_leftover_backup.moc"
