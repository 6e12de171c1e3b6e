// The menu commands of "&Plik" and "E&tapy", each driven through its menu item and dialogs on
// files in a folder of the test's own, and a whole session checked against the bytes the game's
// files must hold.
#include "EditorFixture.h"

#include "TextCodec.h"

using namespace fixture;

namespace {

struct MenuStates {
    bool zapisz, etapy, edycja, generator;
    bool operator==(const MenuStates&) const = default;
};

MenuStates menuStates() {
    return {Form1->Zapisz1->isEnabled(), Form1->Etapy1->menuAction()->isEnabled(),
            Form1->Edycja1->menuAction()->isEnabled(), Form1->Generator1->isEnabled()};
}

const std::vector<std::string> ThreeStages{"Alfa", "Beta", "\xA3\xB9ka"}; // "Łąka" in cp1250

// What a command that fails or is cancelled must leave as it was.
struct EditorSnapshot {
    MenuStates menus = menuStates();
    QStringList names{Stan->BiezacyPlik(), Stan->BiezacyEtap()};
    QStringList items = listItems();
    int selected = Form3->selectedIndex();
    bool viewShown = Form1->DG1->isVisible();
    bool labelShown = Form1->LPlik->isVisible();
    krelwin::Etap stage = Stan->etap;
    bool operator==(const EditorSnapshot&) const = default;
};

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(session_.start()); }
    void cleanup() { session_.stop(); }

    void nowyStartsAnEmptyFileNamedAfterTheField() {
        QCOMPARE(menuStates(), (MenuStates{false, false, false, false}));
        Workflow->list().setNames({"stary"});
        QVERIFY(confirmParameters(Form1->Nowy1, [] {
            QCOMPARE(Form2->EPlik->text(), QStringLiteral("Plan01"));
            QVERIFY(Form2->Panel2->isVisible());
            Form2->EPlik->clear();
            typeText(Form2->EPlik, QStringLiteral("Łą/k\\i:*?\"<>|}wxyzq")); // 8 at most
            Form2->EEtap->setText(QStringLiteral("Pierwszy"));
            enterSize(40, 25);
        }));
        QCOMPARE(Stan->BiezacyPlik(), QStringLiteral("Łąkiwxyz.map"));
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Pierwszy"));
        QCOMPARE(Form3->EEtap->text(), QStringLiteral("Pierwszy"));
        QCOMPARE(Form3->nameCount(), 0);
        QCOMPARE(menuStates(), (MenuStates{false, true, true, true}));
        for (QWidget* shown : std::initializer_list<QWidget*>{
                 Form1->DG1, Form1->LPlik, Form1->LEtap, Form1->Label1, Form1->LPos})
            QVERIFY(shown->isVisible());
        QCOMPARE(Form1->DG1->columnCount(), 42);
        QCOMPARE(Form1->DG1->rowCount(), 27);
        for (int column = 0; column < krelwin::RozmiarPlanszy; ++column)
            for (int row = 0; row < krelwin::RozmiarPlanszy; ++row) {
                const bool interior = column >= 1 && column <= 40 && row >= 1 && row <= 25;
                QCOMPARE(cell(column, row), interior ? '.' : '#');
            }
        // No file until the first stage is written; then it lands in the working folder.
        QVERIFY(!QFile::exists(session_.folder->path(QStringLiteral("Łąkiwxyz.map"))));
        QVERIFY(newStageNamed(QStringLiteral("Drugi"), 20, 18));
        QCOMPARE(loadStage(session_.folder->path(QStringLiteral("Łąkiwxyz.map")), 0).parametry.Szer,
                 20);
    }

    void nowyCancelledChangesNothing() {
        const QString path = openThreeStages();
        const EditorSnapshot before;
        Form2->EPlik->setText(QStringLiteral("Inny"));
        QVERIFY(inDialogOf(Form1->Nowy1, [] {
            QCOMPARE(Form2->EPlik->text(), QStringLiteral("Plan01"));
            QTest::mouseClick(Form2->BitBtn2, Qt::LeftButton);
        }));
        QVERIFY(EditorSnapshot() == before);
        QCOMPARE(Form2->EPlik->text(), QStringLiteral("Inny"));
        QVERIFY(Form2->Panel2->isHidden());
        // A later "Zapisz" still writes into the open file, not into a Plan01.map beside it.
        const QString plan01 = session_.folder->path(QStringLiteral("Plan01.map"));
        writeBytes(plan01, stageFile({"Obcy"}));
        paint(2, 7, 7);
        QVERIFY(save());
        QCOMPARE(loadStage(path, 0).plansza.at(7, 7), '*');
        QCOMPARE(readBytes(plan01), stageFile({"Obcy"}));
    }

    void nameFieldsRefuseMarkersAsTyped() {
        for (QLineEdit* field : {Form3->EEtap, Form2->EEtap}) {
            field->clear();
            typeText(field, QStringLiteral("Ab}c{d"));
            QVERIFY2(!field->text().contains(QLatin1Char('}')), qPrintable(field->text()));
        }
    }

    void otworzListsTheStagesAndLoadsTheFirst() {
        const QString path = openThreeStages();
        QCOMPARE(Stan->BiezacyPlik(), path);
        QCOMPARE(listItems(), QStringList({"Alfa", "Beta", "Łąka"}));
        QCOMPARE(Form3->selectedIndex(), 0);
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Alfa"));
        QCOMPARE(menuStates(), (MenuStates{true, true, true, true}));
        QCOMPARE(Form1->DG1->columnCount(), 20);
        QCOMPARE(cells({{1, 1}, {2, 1}, {18, 10}, {19, 10}}), QString("SWa#"));
        QVERIFY(session_.boxes->shown.empty());
        // An empty file is refused and changes nothing.
        const QString empty = session_.folder->path(QStringLiteral("pusty.map"));
        writeBytes(empty, "");
        QVERIFY(openFile(empty));
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
        QCOMPARE(session_.boxes->shown.front().icon, QMessageBox::Critical);
        QCOMPARE(Stan->BiezacyPlik(), path);
        QCOMPARE(listItems().size(), 3);
    }

    void otworzOfAMissingFileSaysSoOnceAndChangesNothing_data() {
        QTest::addColumn<bool>("fileOpenBefore");
        QTest::newRow("at start") << false;
        QTest::newRow("with a file open") << true;
    }
    void otworzOfAMissingFileSaysSoOnceAndChangesNothing() {
        QFETCH(bool, fileOpenBefore);
        if (fileOpenBefore)
            openThreeStages();
        const EditorSnapshot before;
        const QString missing = session_.folder->path(QStringLiteral("brak.map"));
        QVERIFY(openFile(missing));
        QCOMPARE(Form1->OpenDialog1->fileName(), missing);
        QCOMPARE(session_.boxes->texts(), QStringList({"Brak pliku: " + missing + "..."}));
        QCOMPARE(session_.boxes->shown.front().icon, QMessageBox::NoIcon);
        QCOMPARE(session_.boxes->shown.front().title, QStringLiteral("Krelwin Konstruktor"));
        QVERIFY(EditorSnapshot() == before);
    }

    void nowyEtapLaysTheCellsOutForTheOldSize_data() {
        QTest::addColumn<QSize>("before");
        QTest::addColumn<QSize>("after");
        QTest::newRow("growing") << QSize(32, 20) << QSize(40, 25);
        QTest::newRow("shrinking") << QSize(40, 25) << QSize(32, 20);
    }
    void nowyEtapLaysTheCellsOutForTheOldSize() {
        QFETCH(QSize, before);
        QFETCH(QSize, after);
        QVERIFY(newStage(before.width(), before.height()));
        QVERIFY(newStageNamed(QStringLiteral("Nowy"), after.width(), after.height()));
        const krelwin::Etap stored = loadStage(QStringLiteral("Plan01.map"), 0);
        QCOMPARE(QSize(stored.parametry.Szer, stored.parametry.Wys), after);
        for (int column = 1; column <= after.width(); ++column)
            for (int row = 1; row <= after.height(); ++row) {
                const bool outside = column > before.width() || row > before.height();
                QCOMPARE(stored.plansza.at(column, row), outside ? '#' : '.');
            }
        // Within the old size, the new border shows empty.
        QCOMPARE(cell(after.width() + 1, 1), after.width() < before.width() ? '.' : '#');
    }

    void nowyEtapSelectsTheAppendedStage() {
        // Over an existing "Plan01.map" the list and the file agree.
        writeBytes(session_.folder->path(QStringLiteral("Plan01.map")), stageFile({"Stary"}));
        QVERIFY(newStage());
        QVERIFY(newStageNamed(QStringLiteral("Jeden"), 20, 18));
        QCOMPARE(listItems(), QStringList({"Stary", "Jeden"}));
        QCOMPARE(Form3->selectedIndex(), 1);
        QCOMPARE(Form3->EEtap->text(), QStringLiteral("Jeden"));
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Jeden"));
        QCOMPARE(menuStates(), (MenuStates{true, true, true, true}));
        // A later "Zapisz" writes into the stage just appended, not after it.
        const QString path = openThreeStages();
        QVERIFY(newStageNamed(QStringLiteral("Czwarty"), 20, 18));
        QCOMPARE(Form3->selectedIndex(), 3);
        paintStartAndExit(3, 3, 4, 4);
        QVERIFY(save());
        QVERIFY(session_.boxes->shown.empty());
        QCOMPARE(krelwin::CzytajListeEtapow(native(path)).size(), std::size_t(4));
        QCOMPARE(loadStage(path, 3).plansza.at(3, 3), 'S');
        QCOMPARE(readBytes(path).substr(0, stageFile(ThreeStages).size()), stageFile(ThreeStages));
    }

    void wybierzEtapLoadsTheSelectedStage() {
        openThreeStages();
        QVERIFY(inDialogOf(Form1->Wybierzetap1, [] {
            QVERIFY(!Form3->EEtap->isEnabled());
            doubleClickItem(2);
        }));
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Łąka"));
        QCOMPARE(cell(5, 5), 'c');
        QCOMPARE(Form3->selectedIndex(), 2);
    }

    void wybierzEtapThatCannotLoadLeavesTheEditorAsItWas_data() {
        QTest::addColumn<bool>("fileGone");
        QTest::newRow("broken record") << false;
        QTest::newRow("file gone") << true;
    }
    void wybierzEtapThatCannotLoadLeavesTheEditorAsItWas() {
        QFETCH(bool, fileGone);
        const QString path = openThreeStages();
        paint(2, 7, 7);
        const auto quiet = quietFileWatcher();
        std::string bytes = stageFile(ThreeStages);
        bytes.replace(bytes.find("18,10", bytes.find("(Beta)")), 2, "xx");
        writeBytes(path, bytes);
        if (fileGone)
            QVERIFY(QFile::remove(path));
        const EditorSnapshot before;
        QVERIFY(chooseStage(1));
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
        QVERIFY(EditorSnapshot() == before);
        QCOMPARE(Form3->EEtap->text(), QStringLiteral("Alfa"));
        // So "Zapisz" writes the stage shown over its own record, not over the chosen one; a
        // file deleted meanwhile is named missing, not recreated.
        QVERIFY(save());
        if (fileGone) {
            QCOMPARE(session_.boxes->texts().last(), "Brak pliku: " + path + "...");
            QVERIFY(!QFile::exists(path));
        } else {
            QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
            QCOMPARE(loadStage(path, 0).plansza.at(7, 7), '*');
            QCOMPARE(readBytes(path).substr(record("Alfa", 'a').size()),
                     bytes.substr(record("Alfa", 'a').size()));
        }
    }

    void zapiszJakoWithANewNameAppendsAndSelects() {
        const QString path = openThreeStages();
        QVERIFY(saveAs(QStringLiteral("Czwarty")));
        QCOMPARE(listItems(), QStringList({"Alfa", "Beta", "Łąka", "Czwarty"}));
        QCOMPARE(Form3->selectedIndex(), 3);
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Czwarty"));
        QCOMPARE(readBytes(path), stageFile(ThreeStages) + record("Czwarty", 'a'));
    }

    void zapiszJakoUnderItsOwnNameWritesInPlaceWithoutAQuestion() {
        // Names repeat: the stage loaded from item 2 keeps its place, record 0 stays.
        const QString path = session_.folder->path(QStringLiteral("powtorki.map"));
        const std::vector<std::string> names{"Etap 01", "Etap 02", "Etap 01"};
        writeBytes(path, stageFile(names));
        QVERIFY(openFile(path));
        QVERIFY(chooseStage(2));
        paint(2, 7, 7);
        QVERIFY(saveAs(QStringLiteral("etap 01")));
        QVERIFY(session_.boxes->shown.empty());
        QCOMPARE(loadStage(path, 2).plansza.at(7, 7), '*');
        QCOMPARE(krelwin::CzytajListeEtapow(native(path)),
                 (std::vector<std::string>{"Etap 01", "Etap 02", "etap 01"}));
        QCOMPARE(readBytes(path).substr(0, 2 * record("Etap 01", 'a').size()),
                 record("Etap 01", 'a') + record("Etap 02", 'b'));
        QCOMPARE(listItems().at(2), QStringLiteral("etap 01"));
        QCOMPARE(Form3->selectedIndex(), 2);
    }

    void zapiszJakoAsksBeforeReplacingAnotherStageOfTheName_data() {
        QTest::addColumn<QString>("typed"); // empty: a double click on item `clicked` instead
        QTest::addColumn<int>("clicked");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<int>("match");
        QTest::newRow("other case, Tak") << QStringLiteral("bETA") << -1 << true << 1;
        QTest::newRow("Polish letters in other case, Tak")
            << QStringLiteral("ŁĄKA") << -1 << true << 2;
        QTest::newRow("typed, Nie") << QStringLiteral("Beta") << -1 << false << 1;
        QTest::newRow("double click on a repeated name, Tak") << QString() << 3 << true << 1;
        QTest::newRow("double click, Nie") << QString() << 2 << false << 2;
    }
    void zapiszJakoAsksBeforeReplacingAnotherStageOfTheName() {
        QFETCH(QString, typed);
        QFETCH(int, clicked);
        QFETCH(bool, replace);
        QFETCH(int, match);
        const QString path = session_.folder->path(QStringLiteral("dwa.map"));
        std::vector<std::string> names{"Alfa", "Beta", "\xA3\xB9ka", "Beta", "\xA3\xB9ka"};
        writeBytes(path, stageFile(names));
        QVERIFY(openFile(path));
        const EditorSnapshot before;
        session_.boxes->replaceAnswer = replace ? QMessageBox::Yes : QMessageBox::No;
        QVERIFY(inDialogOf(Form1->Zapiszjako1, [&] {
            if (typed.isEmpty())
                return doubleClickItem(clicked);
            Form3->EEtap->setText(typed);
            QTest::mouseClick(Form3->BitBtn1, Qt::LeftButton);
        }));
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
        const MessageBoxCatcher::Shown& question = session_.boxes->shown.front();
        const QString matchName = match == 1 ? QStringLiteral("Beta") : QStringLiteral("Łąka");
        QCOMPARE(question.text, QStringLiteral("Etap nr %1 „%2” już istnieje. Zastąpić go?")
                                    .arg(match + 1)
                                    .arg(matchName));
        QCOMPARE(question.buttons.size(), 2);
        QVERIFY(question.buttons.contains("&Tak") && question.buttons.contains("&Nie"));
        QCOMPARE(question.defaultButton, QStringLiteral("&Nie"));
        QCOMPARE(question.title, QStringLiteral("Krelwin Konstruktor"));
        if (!replace) {
            QVERIFY(EditorSnapshot() == before);
            QCOMPARE(Form3->EEtap->text(), QStringLiteral("Alfa"));
            QCOMPARE(readBytes(path), stageFile(names));
            return;
        }
        const QString name = typed.isEmpty() ? QStringLiteral("Beta") : typed;
        QCOMPARE(Form3->selectedIndex(), match);
        QCOMPARE(listItems().at(match), name);
        QCOMPARE(Stan->BiezacyEtap(), name);
        names[std::size_t(match)] = krelwin::toFileBytes(name);
        QCOMPARE(krelwin::CzytajListeEtapow(native(path)), names);
        QCOMPARE(loadStage(path, match).plansza.at(5, 5), 'a'); // record 0's cells
        QCOMPARE(readBytes(path).substr(0, record("Alfa", 'a').size()), record("Alfa", 'a'));
    }

    void zapiszWritesIntoTheCurrentFileAndCopiesItsOldContent() {
        const QString path = openThreeStages();
        paint(2, 7, 7);                                                      // a diamond
        const QString copy = session_.folder->path(QStringLiteral("kopia")); // ".map" is added
        QVERIFY(save(copy));
        QVERIFY(session_.boxes->shown.empty());
        QCOMPARE(readBytes(copy + QStringLiteral(".map")), stageFile(ThreeStages));
        QCOMPARE(loadStage(path, 0).plansza.at(7, 7), '*');
        QCOMPARE(Stan->BiezacyPlik(), path);
        QCOMPARE(Form1->SaveDialog1->fileName(), copy + QStringLiteral(".map"));
        // With the preset name, the current file, nothing is copied.
        QVERIFY(save());
        QCOMPARE(QDir(session_.folder->path(QString())).entryList(QDir::Files),
                 QStringList({"kopia.map", "trzy.map"}));
        // A copy that cannot be made is reported, and the stage is written all the same.
        paint(3, 8, 8); // earth
        writeBytes(session_.folder->path(QStringLiteral("plik")), "a file, not a folder");
        QVERIFY(save(session_.folder->path(QStringLiteral("plik/kopia.map"))));
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
        QCOMPARE(session_.boxes->shown.front().icon, QMessageBox::Critical);
        QCOMPARE(loadStage(path, 0).plansza.at(8, 8), '+');
    }

    void zapiszAsksBeforeReplacingAnotherFile_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void zapiszAsksBeforeReplacingAnotherFile() {
        QFETCH(bool, replace);
        const QString path = openThreeStages();
        paint(2, 7, 7);
        const QString other = session_.folder->path(QStringLiteral("inny.map"));
        writeBytes(other, "keep me");
        session_.boxes->replaceAnswer = replace ? QMessageBox::Yes : QMessageBox::No;
        bool stayedOpen = false;
        withModalDialog([] { Form1->Zapisz1->trigger(); },
                        [&](QWidget* dialog) {
                            choose(dialog, other);
                            qobject_cast<QDialog*>(dialog)->accept();
                            stayedOpen = dialog->isVisible();
                        });
        QCOMPARE(session_.boxes->shown.size(), std::size_t(1));
        QVERIFY(session_.boxes->shown.front().text.contains(QStringLiteral("już istnieje")));
        QCOMPARE(stayedOpen, !replace);
        QCOMPARE(readBytes(other), replace ? stageFile(ThreeStages) : std::string("keep me"));
        QCOMPARE(loadStage(path, 0).plansza.at(7, 7), replace ? '*' : 'a');
    }

    void refusedWritesArePlainMessagesAndKeepTheFile() {
        const QString path = openThreeStages();
        paint(2, 1, 1); // the start becomes a diamond
        const QString copy = session_.folder->path(QStringLiteral("kopia.map"));
        QVERIFY(save(copy));
        QCOMPARE(session_.boxes->texts(),
                 QStringList({"Plansza musi mieć jedną pozycje startową\roraz jedno wyjście..."}));
        QCOMPARE(readBytes(path), stageFile(ThreeStages));
        QCOMPARE(readBytes(copy), stageFile(ThreeStages)); // the copy was made before the refusal
        paint(1, 1, 1);
        QVERIFY(saveAs(QStringLiteral("Zły}"))); // a marker set by program, typing cannot
        const auto quiet = quietFileWatcher();
        writeBytes(path, stageFile({"Alfa"})); // a replace at a position the file lost
        Form3->selectIndex(2);
        Form3->EEtap->setText(QStringLiteral("Łąka"));
        QVERIFY(save());
        QCOMPARE(session_.boxes->shown.size(), std::size_t(3));
        for (const MessageBoxCatcher::Shown& box : session_.boxes->shown) {
            QCOMPARE(box.icon, QMessageBox::NoIcon);
            QCOMPARE(box.title, QStringLiteral("Krelwin Konstruktor"));
            QVERIFY2(!box.text.startsWith(QStringLiteral("List index")), qPrintable(box.text));
        }
        QCOMPARE(readBytes(path), stageFile({"Alfa"}));
    }

    void cancelledCommandsChangeNothingAfterTheirDialog() {
        const QString path = openThreeStages();
        Form3->selectIndex(1);
        const EditorSnapshot before;
        const auto cancel = [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); };
        inDialogOf(Form1->Nowyetap1, [] { QTest::mouseClick(Form2->BitBtn2, Qt::LeftButton); });
        withModalDialog([] { Form1->Parametryetapu1->trigger(); }, cancel);
        inDialogOf(Form1->Zapiszjako1, [] { QTest::mouseClick(Form3->BitBtn2, Qt::LeftButton); });
        // After "&Anuluj" the name field holds the selected item's text, and stays enabled.
        QCOMPARE(Form3->EEtap->text(), QStringLiteral("Beta"));
        QVERIFY(Form3->EEtap->isEnabled());
        withModalDialog([] { Form1->Zapisz1->trigger(); }, cancel);
        QVERIFY(EditorSnapshot() == before);
        QCOMPARE(readBytes(path), stageFile(ThreeStages));
        QVERIFY(session_.boxes->shown.empty());
    }

    void stageListCancelledLeavesZapiszOnTheStageShown_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("&Anuluj") << false;
        QTest::newRow("close box") << true;
    }
    void stageListCancelledLeavesZapiszOnTheStageShown() {
        QFETCH(bool, closeBox);
        const QString path = openThreeStages();
        QVERIFY(chooseStage(2));
        // Another item clicked and its rename begun, then the dialog cancelled.
        QVERIFY(inDialogOf(Form1->Wybierzetap1, [closeBox] {
            clickItem(0);
            QTest::mouseClick(Form3->BitBtn3, Qt::LeftButton);
            QVERIFY(Form3->Panel1->isVisible());
            if (closeBox)
                Form3->close();
            else
                QTest::mouseClick(Form3->BitBtn2, Qt::LeftButton);
        }));
        QCOMPARE(Form3->result(), int(QDialog::Rejected));
        QCOMPARE(Form3->selectedIndex(), 2);
        QCOMPARE(Form3->EEtap->text(), QStringLiteral("Łąka"));
        QVERIFY(Form3->Panel1->isHidden());
        paint(2, 7, 7);
        QVERIFY(save());
        QVERIFY(session_.boxes->shown.empty());
        QCOMPARE(krelwin::CzytajListeEtapow(native(path)), ThreeStages);
        QCOMPARE(loadStage(path, 2).plansza.at(7, 7), '*');
    }

    void sessionFromNewFileToReopenedFileGivesTheGamesBytes() {
        QVERIFY(confirmParameters(Form1->Nowy1, [] {
            Form2->EEtap->setText(QStringLiteral("Pierwszy"));
            enterSize(20, 18);
        }));
        paintStartAndExit(2, 3, 19, 17);
        QVERIFY(saveAs(QStringLiteral("Pierwszy"))); // a new name: appended as record 0
        QVERIFY(newStageNamed(QStringLiteral("Drugi"), 20, 18));
        paintStartAndExit(5, 5, 6, 6);
        QVERIFY(save()); // into "Drugi", the selected stage
        QVERIFY2(session_.boxes->shown.empty(), qPrintable(session_.boxes->texts().join('|')));
        const QString path = session_.folder->path(QStringLiteral("Plan01.map"));
        const std::string expected = record("Pierwszy", '.', 20, 18, {2, 3}, {19, 17}) +
                                     record("Drugi", '.', 20, 18, {5, 5}, {6, 6});
        QCOMPARE(readBytes(path), expected);
        QVERIFY(openFile(path));
        QCOMPARE(listItems(), QStringList({"Pierwszy", "Drugi"}));
        QCOMPARE(cells({{2, 3}, {19, 17}}), QString("SW"));
        QVERIFY(save()); // what was opened, saved unchanged, is the same bytes
        QCOMPARE(readBytes(path), expected);
        QVERIFY(session_.boxes->shown.empty());
    }

private:
    // Opens a copy of the three-stage file; returns its path.
    QString openThreeStages() {
        const QString path = session_.folder->path(QStringLiteral("trzy.map"));
        writeBytes(path, stageFile(ThreeStages));
        openFile(path);
        return path;
    }

    EditorSession session_;
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
