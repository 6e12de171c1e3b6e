// The menu commands of "&Plik" and "E&tapy", each driven through its menu item and dialogs, on
// files in a folder of the test's own.
#include "CommandDriving.h"

#include "TextCodec.h"

#include <memory>

using namespace commands;
using fixture::cell;

namespace {

struct MenuStates {
    bool zapisz, etapy, edycja, generator;
    bool operator==(const MenuStates&) const = default;
};

MenuStates menuStates() {
    return {Form1->Zapisz1->isEnabled(), Form1->Etapy1->menuAction()->isEnabled(),
            Form1->Edycja1->menuAction()->isEnabled(), Form1->Generator1->isEnabled()};
}

char* toString(const MenuStates& s) {
    return qstrdup(QStringLiteral("zapisz %1 etapy %2 edycja %3 generator %4")
                       .arg(s.zapisz)
                       .arg(s.etapy)
                       .arg(s.edycja)
                       .arg(s.generator)
                       .toUtf8()
                       .constData());
}

const std::vector<std::string> ThreeStages{"Alfa", "Beta", "\xA3\xB9ka"}; // "Łąka" in cp1250

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nowyConfirmedStartsAnEmptyFileNamedAfterTheField();
    void nowyCancelledKeepsItsEarlierSteps();
    void fileNameFieldRefusesWhatNoFileNameHolds();
    void otworzListsTheStagesAndLoadsTheFirst();
    void otworzOfAMissingFileChangesNothing_data();
    void otworzOfAMissingFileChangesNothing();
    void otworzOfAnEmptyFileChangesNothing();
    void nowyEtapLaysTheCellsOutForTheOldSize_data();
    void nowyEtapLaysTheCellsOutForTheOldSize();
    void nowyEtapSelectsTheAppendedStage();
    void nowyEtapOverAnExistingFileKeepsListAndFileAgreeing();
    void wybierzEtapLoadsTheSelectedStage();
    void wybierzEtapWithoutSelectionReadsTheListAgain();
    void parametryEtapuRefillsBeyondTheNewSize();
    void zapiszJakoWithANewNameAppendsAndSelects();
    void zapiszJakoWithAnExistingNameWritesOverTheFirstMatch_data();
    void zapiszJakoWithAnExistingNameWritesOverTheFirstMatch();
    void zapiszWritesIntoTheCurrentFileAndCopiesItsOldContent();
    void zapiszWithThePresetNameCopiesNothing();
    void zapiszAsksBeforeReplacingAnotherFile_data();
    void zapiszAsksBeforeReplacingAnotherFile();
    void zapiszRefusedByTheStartAndExitRuleKeepsTheFile();
    void refusedWritesArePlainPolishMessages();
    void nameFieldsRefuseMarkersAsTyped();
    void cancelledCommandsChangeNothingAfterTheirDialog();

private:
    // Opens a copy of the three-stage file; returns its path.
    QString openThreeStages();

    std::unique_ptr<WorkingFolder> folder_;
    std::unique_ptr<MessageBoxCatcher> boxes_;
};

void TestCommands::init() {
    folder_ = std::make_unique<WorkingFolder>();
    QVERIFY(folder_->isValid());
    fixture::startEditor();
    boxes_ = std::make_unique<MessageBoxCatcher>();
}

void TestCommands::cleanup() {
    boxes_.reset();
    fixture::stopEditor();
    folder_.reset();
}

QString TestCommands::openThreeStages() {
    const QString path = folder_->path(QStringLiteral("trzy.map"));
    writeBytes(path, stageFile(ThreeStages));
    openFile(path);
    return path;
}

void TestCommands::nowyConfirmedStartsAnEmptyFileNamedAfterTheField() {
    QCOMPARE(menuStates(), (MenuStates{false, false, false, false}));
    const bool seen = confirmParameters(Form1->Nowy1, [] {
        QCOMPARE(Form2->EPlik->text(), QStringLiteral("Plan01"));
        QVERIFY(Form2->Panel2->isVisible());
        Form2->EPlik->selectAll();
        typeText(Form2->EPlik, QStringLiteral("Łąki"));
        Form2->EEtap->setText(QStringLiteral("Pierwszy"));
        Form2->SESzer->setValue(40);
        Form2->SEWys->setValue(25);
    });
    QVERIFY(seen);
    QCOMPARE(Form1->BiezacyPlik(), QStringLiteral("Łąki.map"));
    QCOMPARE(Form1->BiezacyEtap(), QStringLiteral("Pierwszy"));
    QCOMPARE(Form3->EEtap->text(), QStringLiteral("Pierwszy"));
    QCOMPARE(menuStates(), (MenuStates{false, true, true, true}));
    QVERIFY(Form1->DG1->isVisible() && Form1->LPlik->isVisible() && Form1->LPos->isVisible());
    QCOMPARE(Form3->ListBox1->count(), 0);
    QCOMPARE(Form1->DG1->columnCount(), 42);
    QCOMPARE(Form1->DG1->rowCount(), 27);
    QCOMPARE(cell(40, 25), '.');
    QCOMPARE(cell(41, 25), '#');
    QCOMPARE(cell(40, 26), '#');
    QCOMPARE(cell(0, 0), '#');
    // No file until the first stage is written; then it lands in the working folder.
    QVERIFY(!QFile::exists(folder_->path(QStringLiteral("Łąki.map"))));
    QVERIFY(newStageNamed(QStringLiteral("Drugi"), 20, 18));
    QCOMPARE(loadStage(folder_->path(QStringLiteral("Łąki.map")), 0).parametry.Szer, 20);
}

void TestCommands::nowyCancelledKeepsItsEarlierSteps() {
    const QString path = openThreeStages();
    const MenuStates before = menuStates();
    const krelwin::Etap stage = Form1->etap;
    Form2->EPlik->setText(QStringLiteral("Inny"));
    Form2->Panel2->hide();
    fixture::withModalDialog([] { Form1->Nowy1->trigger(); },
                             [](QWidget*) { QTest::mouseClick(Form2->BitBtn2, Qt::LeftButton); });
    QCOMPARE(Form1->BiezacyPlik(), QStringLiteral("Plan01.map"));
    QCOMPARE(Form2->EPlik->text(), QStringLiteral("Plan01"));
    QVERIFY(!Form2->Panel2->isHidden());
    QCOMPARE(menuStates(), before);
    QCOMPARE(listItems().size(), 3);
    QVERIFY(Form1->etap.plansza == stage.plansza);
    QCOMPARE(readBytes(path), stageFile(ThreeStages));
}

void TestCommands::fileNameFieldRefusesWhatNoFileNameHolds() {
    QLineEdit* field = Form2->EPlik;
    field->clear();
    typeText(field, QStringLiteral("a/b\\c:d*e?f\"g<h>i|j"));
    QCOMPARE(field->text(), QStringLiteral("abcdefgh")); // and the limit of 8
    field->clear();
    typeText(field, QStringLiteral("Plan}02"));
    QCOMPARE(field->text(), QStringLiteral("Plan02"));
}

void TestCommands::otworzListsTheStagesAndLoadsTheFirst() {
    const QString path = openThreeStages();
    QCOMPARE(Form1->BiezacyPlik(), path);
    QCOMPARE(listItems(), QStringList({"Alfa", "Beta", "Łąka"}));
    QCOMPARE(Form3->selectedIndex(), 0);
    QCOMPARE(Form3->EEtap->text(), QStringLiteral("Alfa"));
    QCOMPARE(Form1->BiezacyEtap(), QStringLiteral("Alfa"));
    QCOMPARE(menuStates(), (MenuStates{true, true, true, true}));
    QVERIFY(Form1->DG1->isVisible() && Form1->LEtap->isVisible());
    QCOMPARE(Form1->DG1->columnCount(), 20);
    QCOMPARE(Form1->DG1->rowCount(), 12);
    QCOMPARE(cell(1, 1), 'S');
    QCOMPARE(cell(2, 1), 'W');
    QCOMPARE(cell(18, 10), 'a');
    QCOMPARE(cell(19, 10), '#');
    QVERIFY(boxes_->shown.empty());
}

void TestCommands::otworzOfAMissingFileChangesNothing_data() {
    QTest::addColumn<bool>("fileOpenBefore");
    QTest::newRow("at start") << false;
    QTest::newRow("with a file open") << true;
}

void TestCommands::otworzOfAMissingFileChangesNothing() {
    QFETCH(bool, fileOpenBefore);
    if (fileOpenBefore)
        openThreeStages();
    const MenuStates menus = menuStates();
    const QString plik = Form1->BiezacyPlik();
    const QString etapName = Form1->BiezacyEtap();
    const QStringList items = listItems();
    const int selected = Form3->selectedIndex();
    const bool viewShown = Form1->DG1->isVisible();
    const krelwin::Etap stage = Form1->etap;

    const QString missing = folder_->path(QStringLiteral("brak.map"));
    QVERIFY(openFile(missing));
    QCOMPARE(Form1->OpenDialog1->fileName(), missing);
    QCOMPARE(boxes_->texts(), QStringList({"Brak pliku: " + missing + "..."}));
    QCOMPARE(boxes_->shown.front().icon, QMessageBox::NoIcon);
    QCOMPARE(boxes_->shown.front().title, QStringLiteral("Krelwin Konstruktor"));
    QCOMPARE(menuStates(), menus);
    QCOMPARE(Form1->BiezacyPlik(), plik);
    QCOMPARE(Form1->BiezacyEtap(), etapName);
    QCOMPARE(listItems(), items);
    QCOMPARE(Form3->selectedIndex(), selected);
    QCOMPARE(Form1->DG1->isVisible(), viewShown);
    QCOMPARE(Form1->LPlik->isVisible(), viewShown);
    QVERIFY(Form1->etap == stage);
}

void TestCommands::otworzOfAnEmptyFileChangesNothing() {
    openThreeStages();
    const QString empty = folder_->path(QStringLiteral("pusty.map"));
    writeBytes(empty, "");
    const QString plik = Form1->BiezacyPlik();
    QVERIFY(openFile(empty));
    QCOMPARE(boxes_->shown.size(), std::size_t(1));
    QCOMPARE(boxes_->shown.front().icon, QMessageBox::Critical);
    QCOMPARE(Form1->BiezacyPlik(), plik);
    QCOMPARE(listItems().size(), 3);
}

void TestCommands::nowyEtapLaysTheCellsOutForTheOldSize_data() {
    QTest::addColumn<int>("oldSzer");
    QTest::addColumn<int>("oldWys");
    QTest::addColumn<int>("newSzer");
    QTest::addColumn<int>("newWys");
    QTest::newRow("growing") << 32 << 20 << 40 << 25;
    QTest::newRow("shrinking") << 40 << 25 << 32 << 20;
}

void TestCommands::nowyEtapLaysTheCellsOutForTheOldSize() {
    QFETCH(int, oldSzer);
    QFETCH(int, oldWys);
    QFETCH(int, newSzer);
    QFETCH(int, newWys);
    QVERIFY(fixture::newStage(oldSzer, oldWys));
    QVERIFY(newStageNamed(QStringLiteral("Nowy"), newSzer, newWys));
    const krelwin::Etap stored = loadStage(QStringLiteral("Plan01.map"), 0);
    QCOMPARE(stored.parametry.Szer, newSzer);
    QCOMPARE(stored.parametry.Wys, newWys);
    for (int column = 1; column <= newSzer; ++column)
        for (int row = 1; row <= newWys; ++row) {
            const char expected = column > oldSzer || row > oldWys ? '#' : '.';
            QCOMPARE(stored.plansza.at(column, row), expected);
        }
    // Within the old size, the new border shows empty.
    QCOMPARE(cell(newSzer + 1, 1), newSzer < oldSzer ? '.' : '#');
    QCOMPARE(Form1->DG1->columnCount(), newSzer + 2);
}

void TestCommands::nowyEtapSelectsTheAppendedStage() {
    QVERIFY(fixture::newStage());
    QVERIFY(newStageNamed(QStringLiteral("Jeden"), 20, 18));
    QCOMPARE(listItems(), QStringList({"Jeden"}));
    QCOMPARE(Form3->selectedIndex(), 0);
    QCOMPARE(Form3->EEtap->text(), QStringLiteral("Jeden"));
    QCOMPARE(Form1->BiezacyEtap(), QStringLiteral("Jeden"));
    QCOMPARE(menuStates(), (MenuStates{true, true, true, true}));

    // A later "Zapisz" writes into the stage just appended, not after it.
    const QString path = folder_->path(QStringLiteral("Plan01.map"));
    const QString path2 = openThreeStages();
    QVERIFY(newStageNamed(QStringLiteral("Czwarty"), 20, 18));
    QCOMPARE(Form3->selectedIndex(), 3);
    fixture::leftClick(3, 3);
    paintStartAndExit(3, 3, 4, 4);
    QVERIFY(save());
    QVERIFY(boxes_->shown.empty());
    QCOMPARE(krelwin::CzytajListeEtapow(native(path2)).size(), std::size_t(4));
    QCOMPARE(loadStage(path2, 3).plansza.at(3, 3), 'S');
    QCOMPARE(loadStage(path2, 0).plansza.at(1, 1), 'S'); // stage 0 as it was
    QCOMPARE(readBytes(path2).substr(0, stageFile(ThreeStages).size()), stageFile(ThreeStages));
    Q_UNUSED(path);
}

void TestCommands::nowyEtapOverAnExistingFileKeepsListAndFileAgreeing() {
    writeBytes(folder_->path(QStringLiteral("Plan01.map")), stageFile({"Stary"}));
    QVERIFY(fixture::newStage());
    QVERIFY(newStageNamed(QStringLiteral("Nowy"), 20, 18));
    QCOMPARE(listItems(), QStringList({"Stary", "Nowy"}));
    QCOMPARE(Form3->selectedIndex(), 1);
}

void TestCommands::wybierzEtapLoadsTheSelectedStage() {
    openThreeStages();
    const bool seen = fixture::withModalDialog(
        [] { Form1->Wybierzetap1->trigger(); },
        [](QWidget*) {
            QVERIFY(!Form3->EEtap->isEnabled());
            QListWidget* list = Form3->ListBox1;
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->visualItemRect(list->item(2)).center());
        });
    QVERIFY(seen);
    QCOMPARE(Form1->BiezacyEtap(), QStringLiteral("Łąka"));
    QCOMPARE(cell(5, 5), 'c');
    QCOMPARE(Form3->selectedIndex(), 2);
}

void TestCommands::wybierzEtapWithoutSelectionReadsTheListAgain() {
    const QString path = openThreeStages();
    Form3->selectIndex(-1);
    writeBytes(path, stageFile({"Alfa", "Beta", "Gamma", "Delta"}));
    const krelwin::Etap stage = Form1->etap;
    fixture::withModalDialog([] { Form1->Wybierzetap1->trigger(); },
                             [](QWidget*) { QTest::mouseClick(Form3->BitBtn1, Qt::LeftButton); });
    QCOMPARE(listItems(), QStringList({"Alfa", "Beta", "Gamma", "Delta"}));
    QVERIFY(Form1->etap == stage);
}

void TestCommands::parametryEtapuRefillsBeyondTheNewSize() {
    QVERIFY(fixture::newStage(40, 25));
    const auto resize = [](int szer, int wys) {
        return confirmParameters(Form1->Parametryetapu1, [=] {
            QVERIFY(Form2->Panel2->isHidden());
            Form2->SESzer->setValue(szer);
            Form2->SEWys->setValue(wys);
        });
    };
    QVERIFY(resize(32, 20));
    QVERIFY(resize(40, 25));
    QCOMPARE(cell(32, 20), '.');
    QCOMPARE(cell(33, 1), '#');
    QCOMPARE(cell(1, 21), '#');
    QCOMPARE(cell(40, 25), '#');
    QVERIFY(!QFile::exists(QStringLiteral("Plan01.map")));
}

void TestCommands::zapiszJakoWithANewNameAppendsAndSelects() {
    const QString path = openThreeStages();
    QVERIFY(saveAs(QStringLiteral("Czwarty")));
    QCOMPARE(listItems(), QStringList({"Alfa", "Beta", "Łąka", "Czwarty"}));
    QCOMPARE(Form3->selectedIndex(), 3);
    QCOMPARE(Form1->BiezacyEtap(), QStringLiteral("Czwarty"));
    QCOMPARE(readBytes(path).substr(0, stageFile(ThreeStages).size()), stageFile(ThreeStages));
    QCOMPARE(krelwin::CzytajListeEtapow(native(path)).back(), std::string("Czwarty"));
}

void TestCommands::zapiszJakoWithAnExistingNameWritesOverTheFirstMatch_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("match");
    QTest::newRow("same case") << QStringLiteral("Beta") << 1;
    QTest::newRow("other case") << QStringLiteral("bETA") << 1;
    QTest::newRow("Polish letters in other case") << QStringLiteral("ŁĄKA") << 2;
}

void TestCommands::zapiszJakoWithAnExistingNameWritesOverTheFirstMatch() {
    QFETCH(QString, typed);
    QFETCH(int, match);
    const QString path = folder_->path(QStringLiteral("dwa.map"));
    // A repeated name: the first record of that name takes the stage.
    writeBytes(path, stageFile({"Alfa", "Beta", "\xA3\xB9ka", "Beta", "\xA3\xB9ka"}));
    QVERIFY(openFile(path));
    QCOMPARE(Form3->selectedIndex(), 0);
    QVERIFY(saveAs(typed));
    QVERIFY(boxes_->shown.empty());
    QCOMPARE(Form3->selectedIndex(), match);
    QCOMPARE(listItems().at(match), typed);
    QCOMPARE(listItems().size(), 5);
    const std::vector<std::string> names = krelwin::CzytajListeEtapow(native(path));
    QCOMPARE(krelwin::fromFileBytes(names.at(std::size_t(match))), typed);
    QCOMPARE(names.at(0), std::string("Alfa"));
    // Record 0, the stage in memory, is unchanged; the matching one now holds its cells.
    QCOMPARE(loadStage(path, match).plansza.at(5, 5), 'a');
    QCOMPARE(readBytes(path).substr(0, record("Alfa", 'a').size()), record("Alfa", 'a'));
}

void TestCommands::zapiszWritesIntoTheCurrentFileAndCopiesItsOldContent() {
    const QString path = openThreeStages();
    const std::string before = readBytes(path);
    fixture::leftClick(7, 7);
    paint(2, 7, 7);                                              // a diamond
    const QString copy = folder_->path(QStringLiteral("kopia")); // ".map" is added
    QVERIFY(save(copy));
    QVERIFY(boxes_->shown.empty());
    QCOMPARE(readBytes(copy + QStringLiteral(".map")), before);
    QCOMPARE(loadStage(path, 0).plansza.at(7, 7), '*');
    QCOMPARE(Form1->BiezacyPlik(), path);
    QCOMPARE(Form1->SaveDialog1->fileName(), copy + QStringLiteral(".map"));
}

void TestCommands::zapiszWithThePresetNameCopiesNothing() {
    const QString path = openThreeStages();
    QVERIFY(save());
    QVERIFY(boxes_->shown.empty());
    QCOMPARE(readBytes(path), stageFile(ThreeStages));
    QCOMPARE(QDir(folder_->path(QString())).entryList(QDir::Files), QStringList({"trzy.map"}));
}

void TestCommands::zapiszAsksBeforeReplacingAnotherFile_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestCommands::zapiszAsksBeforeReplacingAnotherFile() {
    QFETCH(bool, replace);
    const QString path = openThreeStages();
    fixture::leftClick(7, 7);
    paint(2, 7, 7);
    const QString other = folder_->path(QStringLiteral("inny.map"));
    writeBytes(other, "keep me");
    boxes_->replaceAnswer = replace ? QMessageBox::Yes : QMessageBox::No;
    bool stayedOpen = false;
    fixture::withModalDialog([] { Form1->Zapisz1->trigger(); },
                             [&](QWidget* dialog) {
                                 auto* files = static_cast<StageFileDialog*>(
                                     qobject_cast<QFileDialog*>(dialog));
                                 choose(files, other);
                                 files->accept();
                                 stayedOpen = files->isVisible();
                             });
    QCOMPARE(boxes_->shown.size(), std::size_t(1));
    QVERIFY(boxes_->shown.front().text.contains(QStringLiteral("już istnieje")));
    QCOMPARE(stayedOpen, !replace);
    QCOMPARE(readBytes(other), replace ? stageFile(ThreeStages) : std::string("keep me"));
    QCOMPARE(loadStage(path, 0).plansza.at(7, 7), replace ? '*' : 'a');
}

void TestCommands::zapiszRefusedByTheStartAndExitRuleKeepsTheFile() {
    const QString path = openThreeStages();
    fixture::leftClick(1, 1);
    paint(2, 1, 1); // the start becomes a diamond
    const QString copy = folder_->path(QStringLiteral("kopia.map"));
    QVERIFY(save(copy));
    QCOMPARE(boxes_->texts(),
             QStringList({"Plansza musi mieć jedną pozycje startową\roraz jedno wyjście..."}));
    QCOMPARE(boxes_->shown.front().icon, QMessageBox::NoIcon);
    QCOMPARE(readBytes(path), stageFile(ThreeStages));
    QCOMPARE(readBytes(copy), stageFile(ThreeStages)); // the copy was made before the refusal
}

void TestCommands::refusedWritesArePlainPolishMessages() {
    const QString path = openThreeStages();
    // A marker set by program (typing cannot put it there).
    QVERIFY(saveAs(QStringLiteral("Zły}")));
    // A replace at a position the file no longer has.
    writeBytes(path, stageFile({"Alfa"}));
    Form3->selectIndex(2);
    Form3->EEtap->setText(QStringLiteral("Łąka"));
    QVERIFY(save());
    QCOMPARE(boxes_->shown.size(), std::size_t(2));
    for (const MessageBoxCatcher::Shown& box : boxes_->shown) {
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.title, QStringLiteral("Krelwin Konstruktor"));
        QVERIFY2(!box.text.startsWith(QStringLiteral("List index")), qPrintable(box.text));
    }
    QCOMPARE(readBytes(path), stageFile({"Alfa"}));
}

void TestCommands::nameFieldsRefuseMarkersAsTyped() {
    for (QLineEdit* field : {Form3->EEtap, Form2->EEtap}) {
        field->clear();
        typeText(field, QStringLiteral("Ab}c{d"));
        QVERIFY2(!field->text().contains(QLatin1Char('}')), qPrintable(field->text()));
    }
}

void TestCommands::cancelledCommandsChangeNothingAfterTheirDialog() {
    const QString path = openThreeStages();
    const krelwin::Etap stage = Form1->etap;
    Form3->selectIndex(1);
    const auto cancelParameters = [](QWidget*) {
        QTest::mouseClick(Form2->BitBtn2, Qt::LeftButton);
    };
    fixture::withModalDialog([] { Form1->Nowyetap1->trigger(); }, cancelParameters);
    fixture::withModalDialog([] { Form1->Parametryetapu1->trigger(); }, cancelParameters);
    fixture::withModalDialog([] { Form1->Zapiszjako1->trigger(); },
                             [](QWidget*) { QTest::mouseClick(Form3->BitBtn2, Qt::LeftButton); });
    // After "&Anuluj" the name field holds the selected item's text, and stays enabled.
    QCOMPARE(Form3->EEtap->text(), QStringLiteral("Beta"));
    QVERIFY(Form3->EEtap->isEnabled());
    fixture::withModalDialog([] { Form1->Zapisz1->trigger(); },
                             [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    QVERIFY(Form1->etap == stage);
    QCOMPARE(readBytes(path), stageFile(ThreeStages));
    QCOMPARE(listItems().size(), 3);
    QVERIFY(boxes_->shown.empty());
}

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
