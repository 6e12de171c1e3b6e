// Another program changes the open stage file: krelwin-stage, run as a second process between
// two steps of the editor, stands in for it. The editor's writes by position must find the
// stage the list shows, its appends must select their own stage, and its list must follow the
// file without a word when nothing of the user's is at stake.
#include "EditorFixture.h"

#include <QProcess>

using namespace fixture;

namespace {

const std::vector<std::string> ThreeStages{"Alfa", "Beta", "\xA3\xB9ka"}; // "Łąka" in cp1250

// krelwin-stage, run to its end, writes stage 0 of `path` into `path` at `position` (-1
// appends) under `name`; true when it succeeded.
bool otherProgramWrites(const QString& path, int position, const QString& name) {
    QProcess tool;
    tool.start(QStringLiteral(KRELWIN_STAGE_PATH),
               {QStringLiteral("copy"), path, QStringLiteral("0"), path, QString::number(position),
                QStringLiteral("--name"), name});
    return tool.waitForFinished() && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

QString listRereadAndSelectionLost(int position, const QString& name) {
    return QStringLiteral("Lista etapów została odczytana z pliku ponownie. Na pozycji nr %1 nie "
                          "ma już etapu „%2”, więc żaden etap nie jest zaznaczony, a „Zapisz” "
                          "dopisze etap na końcu pliku.")
        .arg(position)
        .arg(name);
}

} // namespace

class TestFileChanges : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(session_.start());
        path_ = session_.folder->path(QStringLiteral("trzy.map"));
        writeBytes(path_, stageFile(ThreeStages));
        QVERIFY(openFile(path_));
    }
    void cleanup() { session_.stop(); }

    void writesByPositionFindTheListedStageAndAppendsSelectTheirOwn() {
        const auto quiet = quietFileWatcher(); // the list follows only what the editor does
        QVERIFY(chooseStage(1));
        QVERIFY(otherProgramWrites(path_, -1, QStringLiteral("Obcy")));
        // "Beta" still stands second: "Zapisz" writes it.
        paint(2, 7, 7);
        QVERIFY(save());
        QVERIFY(session_.boxes->shown.empty());
        QCOMPARE(loadStage(path_, 1).plansza.at(7, 7), '*');
        // The new stage lands after the other program's, and is the one selected.
        QVERIFY(newStageNamed(QStringLiteral("Nowy"), 20, 18));
        QCOMPARE(listItems(), QStringList({"Alfa", "Beta", "Łąka", "Obcy", "Nowy"}));
        QCOMPARE(Form3->selectedIndex(), 4);
        // The other program puts another stage where it stood: "Zapisz" writes nothing.
        QVERIFY(otherProgramWrites(path_, 4, QStringLiteral("Podmieniony")));
        const std::string changed = readBytes(path_);
        paintStartAndExit(3, 3, 4, 4);
        QVERIFY(save());
        QCOMPARE(readBytes(path_), changed);
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
        const QString message = session_.boxes->texts().front();
        QVERIFY2(message.contains(QStringLiteral("zmieniony przez inny program")) &&
                     message.endsWith(QStringLiteral("\n\n") +
                                      listRereadAndSelectionLost(5, QStringLiteral("Nowy"))),
                 qPrintable(message));
        QCOMPARE(listItems(), QStringList({"Alfa", "Beta", "Łąka", "Obcy", "Podmieniony"}));
        QCOMPARE(Form3->selectedIndex(), -1);
        // "Wybierz etap" confirmed with nothing selected loads nothing and reads the list anew.
        QVERIFY(otherProgramWrites(path_, -1, QStringLiteral("Dalszy")));
        QVERIFY(inDialogOf(Form1->Wybierzetap1,
                           [] { QTest::mouseClick(Form3->BitBtn1, Qt::LeftButton); }));
        QCOMPARE(listItems(),
                 QStringList({"Alfa", "Beta", "Łąka", "Obcy", "Podmieniony", "Dalszy"}));
        QCOMPARE(cells({{3, 3}, {4, 4}}), QString("SW"));
    }

    void theListFollowsTheFile() {
        QVERIFY(chooseStage(1));
        // The editor's own writes are not reported as changes.
        paint(2, 7, 7);
        QVERIFY(save());
        QVERIFY(saveAs(QStringLiteral("Beta")));
        QTest::qWait(3 * StageFileWatcher::SettleMilliseconds);
        QVERIFY2(session_.boxes->shown.empty(), qPrintable(session_.boxes->texts().join('|')));
        // A change in place, as some text editors save, into the file the editor's writes put
        // there: a stage added at the end leaves the selection where it was.
        QFile file(path_);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray::fromStdString(record("Obcy", 'd')));
        file.close();
        QTRY_COMPARE(listItems(), QStringList({"Alfa", "Beta", "Łąka", "Obcy"}));
        QCOMPARE(Form3->selectedIndex(), 1);
        QVERIFY(session_.boxes->shown.empty());
        // Another stage where the selected one stood: the selection goes, and the user is told.
        QVERIFY(otherProgramWrites(path_, 1, QStringLiteral("Inny")));
        QTRY_COMPARE(session_.boxes->shown.size(), std::size_t(1));
        QCOMPARE(session_.boxes->texts().front(),
                 QStringLiteral("Plik %1 został zmieniony przez inny program. ").arg(path_) +
                     listRereadAndSelectionLost(2, QStringLiteral("Beta")));
        QCOMPARE(listItems(), QStringList({"Alfa", "Inny", "Łąka", "Obcy"}));
        QCOMPARE(Form3->selectedIndex(), -1);
        // A file deleted from outside is named missing at the next write, and not made again.
        QVERIFY(chooseStage(0));
        QVERIFY(QFile::remove(path_));
        QTest::qWait(3 * StageFileWatcher::SettleMilliseconds);
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
        QVERIFY(save());
        QCOMPARE(session_.boxes->texts().last(), "Brak pliku: " + path_ + "...");
        QVERIFY(!QFile::exists(path_));
        // Put back, it is followed again.
        writeBytes(path_, stageFile({"Alfa", "Beta"}));
        QTRY_COMPARE(listItems(), QStringList({"Alfa", "Beta"}));
        QCOMPARE(Form3->selectedIndex(), 0);
    }

private:
    EditorSession session_;
    QString path_;
};

QTEST_MAIN(TestFileChanges)
#include "test_file_changes.moc"
