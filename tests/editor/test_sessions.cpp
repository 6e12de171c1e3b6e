// Whole sessions from the menus, checked against the bytes the game's files must hold.
#include "CommandDriving.h"

#include <memory>

using namespace commands;

namespace {

// The record the editor must write for an empty stage of the default parameters but its size,
// with "S" and "W" at the given cells.
std::string expectedRecord(const std::string& name, int szer, int wys, int sColumn, int sRow,
                           int wColumn, int wRow) {
    std::string bytes = "(" + name + ")\r\n}\r\n" + std::to_string(szer) + "," +
                        std::to_string(wys) + ",010,010,010,010,010,100,Z,";
    bytes += std::string(krelwin::DomyslneKolory) + ",\r\n{\r\n";
    for (int row = 1; row <= wys; ++row) {
        std::string line(std::size_t(szer), '.');
        if (row == sRow)
            line[std::size_t(sColumn - 1)] = 'S';
        if (row == wRow)
            line[std::size_t(wColumn - 1)] = 'W';
        bytes += line + "\r\n";
    }
    return bytes;
}

} // namespace

class TestSessions : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFileTwoStagesSavedAndOpenedAgain();
    void openAddStageAndSaveWritesIntoTheNewStage();

private:
    std::unique_ptr<WorkingFolder> folder_;
    std::unique_ptr<MessageBoxCatcher> boxes_;
};

void TestSessions::init() {
    folder_ = std::make_unique<WorkingFolder>();
    QVERIFY(folder_->isValid());
    fixture::startEditor();
    boxes_ = std::make_unique<MessageBoxCatcher>();
}

void TestSessions::cleanup() {
    boxes_.reset();
    fixture::stopEditor();
    folder_.reset();
}

void TestSessions::newFileTwoStagesSavedAndOpenedAgain() {
    QVERIFY(confirmParameters(Form1->Nowy1, [] {
        Form2->EEtap->setText(QStringLiteral("Pierwszy"));
        Form2->SESzer->setValue(20);
        Form2->SEWys->setValue(18);
    }));
    paintStartAndExit(2, 3, 19, 17);
    QVERIFY(saveAs(QStringLiteral("Pierwszy"))); // a new name: appended as record 0
    QVERIFY(newStageNamed(QStringLiteral("Drugi"), 20, 18));
    paintStartAndExit(5, 5, 6, 6);
    QVERIFY(save()); // into "Drugi", the selected stage
    QVERIFY2(boxes_->shown.empty(), qPrintable(boxes_->texts().join('|')));

    const QString path = folder_->path(QStringLiteral("Plan01.map"));
    const std::string expected = expectedRecord("Pierwszy", 20, 18, 2, 3, 19, 17) +
                                 expectedRecord("Drugi", 20, 18, 5, 5, 6, 6);
    QCOMPARE(readBytes(path), expected);

    QVERIFY(openFile(path));
    QCOMPARE(listItems(), QStringList({"Pierwszy", "Drugi"}));
    QCOMPARE(fixture::cell(2, 3), 'S');
    QCOMPARE(fixture::cell(19, 17), 'W');
    // Saving what was opened, unchanged, gives the file back byte for byte.
    QVERIFY(save());
    QCOMPARE(readBytes(path), expected);
    QVERIFY(boxes_->shown.empty());
}

void TestSessions::openAddStageAndSaveWritesIntoTheNewStage() {
    const QString path = folder_->path(QStringLiteral("gra.map"));
    const std::string original = stageFile({"Alfa", "Beta"});
    writeBytes(path, original);
    QVERIFY(openFile(path));
    QVERIFY(newStageNamed(QStringLiteral("Trzeci"), 18, 10)); // the size of the stage loaded
    // Without a start and an exit the stage cannot go over a record.
    QVERIFY(save());
    QCOMPARE(boxes_->shown.size(), std::size_t(1));
    paintStartAndExit(1, 1, 18, 10);
    QVERIFY(save());
    QCOMPARE(boxes_->shown.size(), std::size_t(1));
    QCOMPARE(readBytes(path), original + expectedRecord("Trzeci", 18, 10, 1, 1, 18, 10));
}

QTEST_MAIN(TestSessions)
#include "test_sessions.moc"
