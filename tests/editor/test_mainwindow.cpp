#include "EditorFixture.h"

#include "ListaE.h"
#include "TileSet.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolButton>

using namespace fixture;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { startEditor(); }
    void cleanup() { stopEditor(); }

    void startsWithTitleMenusAndHiddenView();
    void startsWithTheDialogDefaultsAndRivets();
    void toolButtonsCarryTheirHints();
    void toolButtonsToggleTheirCodes_data();
    void toolButtonsToggleTheirCodes();
    void emptyToolButtonSelectsTheEmptyTool();
    void rightPressPaintsTheCellUnderTheMouse();
    void leftPressShowsRowThenColumn();
    void rightPressOnTheBorderOrBeyondChangesNoCell();
    void toolChoiceFillsOnlyTheInteriorOfASelection();
    void rightPressWithASelectionFillsItWherever();
    void doubleClickTurnsCreatures_data();
    void doubleClickTurnsCreatures();
    void pasteBeforeAnyCopyChangesNothing();
    void pasteNearTheEdgeDropsWhatFallsOutside();
    void pasteAtABorderCellPastesNothing();
    void cutClearsBorderCellsTooAndDeleteKeepsTheClipboard();
    void nowyCancelledKeepsOnlyItsFirstSteps();
    void nowyConfirmedShowsAFreshStage();
    void parametersShrinkingAndGrowingRefillTheRivets();
    void siatkaSwitchesTheGridLines();
    void koniecClosesTheWindow();
};

void TestMainWindow::startsWithTitleMenusAndHiddenView() {
    QCOMPARE(Form1->windowTitle(), QStringLiteral("Krelwin Konstruktor w.1.02."));
    QCOMPARE(Form1->width(), 554);
    const QList<QAction*> menus = Form1->menuBar()->actions();
    QStringList captions;
    for (QAction* menu : menus)
        captions << menu->text();
    QCOMPARE(captions, QStringList({"&Plik", "E&tapy", "&Edycja", "&Opcje"}));
    QVERIFY(Form1->Plik1->menuAction()->isEnabled());
    QVERIFY(!Form1->Etapy1->menuAction()->isEnabled());
    QVERIFY(!Form1->Edycja1->menuAction()->isEnabled());
    QVERIFY(Form1->Opcje1->menuAction()->isEnabled());
    QVERIFY(!Form1->Zapisz1->isEnabled());
    QVERIFY(!Form1->Generator1->isEnabled());
    QVERIFY(Form1->Siatka1->isChecked());
    QStringList plik;
    for (QAction* item : Form1->Plik1->actions())
        plik << (item->isSeparator() ? QStringLiteral("-") : item->text());
    QCOMPARE(plik, QStringList({"Nowy", "Otwórz", "Zapisz", "-", "Wyjście"}));
    for (QMenu* menu : {Form1->Plik1, Form1->Etapy1, Form1->Edycja1, Form1->Opcje1})
        for (QAction* item : menu->actions())
            QVERIFY2(item->shortcut().isEmpty(), qPrintable(item->text()));
    QVERIFY(!Form1->DG1->isVisible());
    for (QLabel* label : {Form1->LPlik, Form1->LEtap, Form1->Label1, Form1->LPos})
        QVERIFY(!label->isVisible());
    QVERIFY(Form1->Label3->isVisible());
    QCOMPARE(Form1->LPos->text(), QStringLiteral("x,y"));
    QVERIFY(Form1->LPos->font().bold());
}

void TestMainWindow::startsWithTheDialogDefaultsAndRivets() {
    QCOMPARE(Form1->Narzedzie, '.');
    for (QToolButton* button : Form1->ToolButtons)
        QVERIFY(!button->isChecked());
    QCOMPARE(Form1->etap.parametry, krelwin::ParametryEtapu{});
    QCOMPARE(Form1->BiezacyEtap(), QStringLiteral("Etap 01"));
    QCOMPARE(Form1->BiezacyPlik(), QStringLiteral("plik"));
    QCOMPARE(Form1->DG1->rowCount(), 22);
    QCOMPARE(Form1->DG1->columnCount(), 34);
    QCOMPARE(Form1->etap.plansza, krelwin::Plansza{});
    QCOMPARE(Form1->DG1->pen().color(), QColor(Qt::black));
}

void TestMainWindow::toolButtonsCarryTheirHints() {
    const QStringList hints{"Pozycja startowa",
                            "Diament",
                            "Ziemia",
                            "Kamień",
                            "Nit",
                            "Motyl",
                            "Potwór",
                            "Mur",
                            "Diamentowy mur",
                            "Mur rozszerzalny",
                            "Lawa rosnąca",
                            "Lawa przepuszczająca",
                            "Wyjście",
                            ""};
    for (int index = 0; index < TForm1::ToolCount; ++index) {
        QToolButton* button = Form1->ToolButtons[index];
        QCOMPARE(button->toolTip(), hints[index]);
        QCOMPARE(button->geometry(), QRect(index * 38, 2, 38, 35));
        QVERIFY(!button->icon().isNull());
    }
}

void TestMainWindow::toolButtonsToggleTheirCodes_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<char>("code");
    for (int number = 1; number <= 13; ++number)
        QTest::newRow(qPrintable(QString::number(number)))
            << number << TForm1::KodyNarzedzi[number - 1];
}

void TestMainWindow::toolButtonsToggleTheirCodes() {
    QFETCH(int, number);
    QFETCH(char, code);
    const auto pressedButtons = [] {
        QList<int> pressed;
        for (int index = 0; index < TForm1::ToolCount; ++index)
            if (Form1->ToolButtons[index]->isChecked())
                pressed << index + 1;
        return pressed;
    };
    QTest::mouseClick(Form1->ToolButtons[number - 1], Qt::LeftButton);
    QCOMPARE(Form1->Narzedzie, code);
    QCOMPARE(pressedButtons(), QList<int>{number});
    QTest::mouseClick(Form1->ToolButtons[number - 1], Qt::LeftButton);
    QCOMPARE(Form1->Narzedzie, '.');
    QCOMPARE(pressedButtons(), QList<int>{14});
    // Without a file the view's selection is one cell: a click changes no cell.
    QCOMPARE(Form1->etap.plansza, krelwin::Plansza{});
}

void TestMainWindow::emptyToolButtonSelectsTheEmptyTool() {
    QTest::mouseClick(Form1->ToolButtons[1], Qt::LeftButton);
    QTest::mouseClick(Form1->ToolButtons[13], Qt::LeftButton);
    QCOMPARE(Form1->Narzedzie, '.');
    QVERIFY(Form1->ToolButtons[13]->isChecked());
    QTest::mouseClick(Form1->ToolButtons[13], Qt::LeftButton); // stays pressed
    QVERIFY(Form1->ToolButtons[13]->isChecked());
    QVERIFY(!Form1->ToolButtons[1]->isChecked());
}

void TestMainWindow::rightPressPaintsTheCellUnderTheMouse() {
    QVERIFY(newStage());
    leftClick(3, 4);
    Form1->ToolButton8Click(); // "=": one cell selected, so nothing is filled
    QCOMPARE(cell(3, 4), '.');
    rightPress(7, 2);
    QCOMPARE(cell(7, 2), '=');
    QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{7, 2}));
    QCOMPARE(Form1->LPos->text(), QStringLiteral("4,3")); // the cell current before the press
}

void TestMainWindow::leftPressShowsRowThenColumn() {
    QVERIFY(newStage());
    QCOMPARE(Form1->LPos->text(), QStringLiteral("x,y"));
    leftClick(12, 5);
    QCOMPARE(Form1->LPos->text(), QStringLiteral("5,12"));
    QTest::keyClick(Form1->DG1, Qt::Key_Right); // keys move the cell but not the text
    QCOMPARE(Form1->DG1->currentColumn(), 13);
    QCOMPARE(Form1->LPos->text(), QStringLiteral("5,12"));
}

void TestMainWindow::rightPressOnTheBorderOrBeyondChangesNoCell() {
    Form1->resize(800, 600);
    QVERIFY(newStage(18, 10));
    Form1->ToolButton2Click();
    const krelwin::Plansza before = Form1->etap.plansza;
    rightPress(0, 3);
    QCOMPARE(Form1->etap.plansza, before);
    QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{0, 3}));
    // Beyond the last column (the view is wider than 20 cells): no cell, nothing changes.
    const QRect last = Form1->DG1->cellRect(19, 3);
    QVERIFY(last.right() + 20 < Form1->DG1->viewport()->width());
    QTest::mousePress(Form1->DG1->viewport(), Qt::RightButton, {},
                      QPoint(last.right() + 15, last.center().y()));
    QCOMPARE(Form1->etap.plansza, before);
    QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{0, 3}));
}

void TestMainWindow::toolChoiceFillsOnlyTheInteriorOfASelection() {
    QVERIFY(newStage());
    select(0, 0, 3, 2);                                       // 4 x 3, reaching into the ring
    QTest::mouseClick(Form1->ToolButtons[7], Qt::LeftButton); // "Mur"
    for (int column = 0; column <= 3; ++column)
        for (int row = 0; row <= 2; ++row) {
            const bool interior = column >= 1 && row >= 1;
            QCOMPARE(cell(column, row), interior ? '=' : '#');
        }
    QCOMPARE(cell(4, 1), '.');
    QCOMPARE(cell(1, 3), '.');
    QTest::mouseClick(Form1->ToolButtons[7], Qt::LeftButton); // off again: cleared
    QCOMPARE(cell(2, 2), '.');
    QCOMPARE(cell(0, 1), '#');
}

void TestMainWindow::rightPressWithASelectionFillsItWherever() {
    QVERIFY(newStage());
    Form1->ToolButton2Click(); // "*" with one cell selected
    select(5, 5, 6, 7);
    rightPress(20, 15);
    for (int column = 5; column <= 6; ++column)
        for (int row = 5; row <= 7; ++row)
            QCOMPARE(cell(column, row), '*');
    QCOMPARE(cell(20, 15), '.');
    QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{5, 5}));
}

void TestMainWindow::doubleClickTurnsCreatures_data() {
    QTest::addColumn<char>("before");
    QTest::addColumn<char>("after");
    QTest::newRow("butterfly right to up") << '>' << '^';
    QTest::newRow("butterfly down to right") << 'v' << '>';
    QTest::newRow("monster left to up") << '/' << '|';
    QTest::newRow("monster down to left") << '\\' << '/';
    QTest::newRow("diamond unchanged") << '*' << '*';
}

void TestMainWindow::doubleClickTurnsCreatures() {
    QFETCH(char, before);
    QFETCH(char, after);
    QVERIFY(newStage());
    Form1->etap.plansza.at(4, 4) = before;
    QSignalSpy presses(Form1->DG1, &MapView::mousePressed);
    // A double-click arrives as a press and release, then the second press as a double-click.
    QTest::mouseClick(Form1->DG1->viewport(), Qt::LeftButton, {}, centreOf(4, 4));
    QTest::mouseDClick(Form1->DG1->viewport(), Qt::LeftButton, {}, centreOf(4, 4));
    QCOMPARE(cell(4, 4), after);
    QCOMPARE(presses.count(), 1); // the second press raised the double-click instead
    QCOMPARE(Form1->LPos->text(), QStringLiteral("4,4"));
}

void TestMainWindow::pasteBeforeAnyCopyChangesNothing() {
    QVERIFY(newStage());
    leftClick(3, 3);
    Form1->Wklej1->trigger();
    QCOMPARE(Form1->etap.plansza.at(3, 3), '.');
    krelwin::Etap fresh = Form1->etap;
    fresh.plansza.fillWithRivets();
    fresh.clearInterior();
    QCOMPARE(Form1->etap.plansza, fresh.plansza);
}

void TestMainWindow::pasteNearTheEdgeDropsWhatFallsOutside() {
    QVERIFY(newStage(32, 20));
    const char block[2][3] = {{'S', '*', 'o'}, {'+', '=', 'W'}};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            Form1->etap.plansza.at(2 + column, 2 + row) = block[row][column];
    select(2, 2, 4, 3);
    Form1->Kopiuj1->trigger();
    leftClick(31, 20);
    Form1->Wklej1->trigger();
    QCOMPARE(cell(31, 20), 'S');
    QCOMPARE(cell(32, 20), '*');
    QCOMPARE(cell(33, 20), '#');
    QCOMPARE(cell(31, 21), '#');
}

void TestMainWindow::pasteAtABorderCellPastesNothing() {
    QVERIFY(newStage());
    Form1->etap.plansza.at(2, 2) = '*';
    leftClick(2, 2);
    Form1->Kopiuj1->trigger();
    leftClick(0, 5);
    const krelwin::Plansza before = Form1->etap.plansza;
    Form1->Wklej1->trigger();
    QCOMPARE(Form1->etap.plansza, before);
}

void TestMainWindow::cutClearsBorderCellsTooAndDeleteKeepsTheClipboard() {
    QVERIFY(newStage());
    Form1->etap.plansza.at(1, 1) = 'o';
    select(0, 0, 1, 1);
    Form1->Wytnij1->trigger();
    QCOMPARE(cell(0, 0), '.');
    QCOMPARE(cell(1, 0), '.');
    QCOMPARE(cell(1, 1), '.');
    QCOMPARE(Form1->Schowek.at(1, 1), 'o');
    leftClick(10, 10);
    Form1->Skasuj1->trigger();
    QCOMPARE(Form1->Schowek.at(1, 1), 'o');
    Form1->Wklej1->trigger(); // the ring's row 0 and column 0 are never pasted
    QCOMPARE(cell(10, 10), 'o');
    QCOMPARE(cell(9, 10), '.');
    QCOMPARE(cell(10, 9), '.');
}

void TestMainWindow::nowyCancelledKeepsOnlyItsFirstSteps() {
    Form2->EPlik->setText(QStringLiteral("inna"));
    const bool seen = withModalDialog([] { Form1->Nowy1->trigger(); },
                                      [](QWidget* dialog) {
                                          QCOMPARE(dialog, static_cast<QWidget*>(Form2));
                                          QVERIFY(Form2->Panel2->isVisible());
                                          QCOMPARE(Form2->EPlik->text(), QStringLiteral("Plan01"));
                                          QTest::mouseClick(Form2->BitBtn2, Qt::LeftButton);
                                      });
    QVERIFY(seen);
    QCOMPARE(Form1->BiezacyPlik(), QStringLiteral("Plan01.map"));
    QVERIFY(!Form1->DG1->isVisible());
    QVERIFY(!Form1->Etapy1->menuAction()->isEnabled());
    QCOMPARE(Form1->etap.plansza, krelwin::Plansza{});
}

void TestMainWindow::nowyConfirmedShowsAFreshStage() {
    Form3->ListBox1->addItem(QStringLiteral("stary"));
    QVERIFY(newStage(40, 25));
    QCOMPARE(Form1->etap.parametry.Szer, 40);
    QCOMPARE(Form1->etap.parametry.Wys, 25);
    for (int column = 0; column < krelwin::RozmiarPlanszy; ++column)
        for (int row = 0; row < krelwin::RozmiarPlanszy; ++row) {
            const bool interior = column >= 1 && column <= 40 && row >= 1 && row <= 25;
            QCOMPARE(cell(column, row), interior ? '.' : '#');
        }
    QCOMPARE(Form1->DG1->rowCount(), 27);
    QCOMPARE(Form1->DG1->columnCount(), 42);
    QVERIFY(Form1->DG1->isVisible());
    QVERIFY(Form1->Etapy1->menuAction()->isEnabled());
    QVERIFY(Form1->Edycja1->menuAction()->isEnabled());
    QVERIFY(Form1->Generator1->isEnabled());
    QVERIFY(!Form1->Zapisz1->isEnabled());
    QCOMPARE(Form3->ListBox1->count(), 0);
    QCOMPARE(Form3->EEtap->text(), QStringLiteral("Etap 01"));
    for (QLabel* label : {Form1->LPlik, Form1->LEtap, Form1->Label1, Form1->LPos})
        QVERIFY(label->isVisible());
    QCOMPARE(Form1->LPlik->text(), QStringLiteral("Plan01.map"));
}

void TestMainWindow::parametersShrinkingAndGrowingRefillTheRivets() {
    QVERIFY(newStage(40, 25));
    Form1->etap.plansza.at(35, 5) = '*';
    Form1->etap.plansza.at(5, 23) = '*';
    Form1->etap.plansza.at(5, 5) = '*';
    const auto setSize = [](int szer, int wys) {
        return withModalDialog([] { Form1->Parametryetapu1->trigger(); },
                               [szer, wys](QWidget*) {
                                   QVERIFY(Form2->Panel2->isHidden());
                                   Form2->SESzer->setValue(szer);
                                   Form2->SEWys->setValue(wys);
                                   QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
                               });
    };
    QVERIFY(setSize(32, 20));
    QCOMPARE(Form1->DG1->columnCount(), 34);
    QVERIFY(setSize(40, 25));
    QCOMPARE(cell(35, 5), '#');
    QCOMPARE(cell(5, 23), '#');
    QCOMPARE(cell(33, 1), '#');
    QCOMPARE(cell(5, 5), '*');
    QCOMPARE(cell(32, 20), '.');
}

void TestMainWindow::siatkaSwitchesTheGridLines() {
    QVERIFY(newStage());
    QCOMPARE(Form1->DG1->gridLineWidth(), 1);
    QCOMPARE(Form1->DG1->cellRect(1, 1).topLeft() - Form1->DG1->cellRect(0, 0).topLeft(),
             QPoint(29, 29));
    Form1->Siatka1->trigger();
    QVERIFY(!Form1->Siatka1->isChecked());
    QCOMPARE(Form1->DG1->gridLineWidth(), 0);
    QCOMPARE(Form1->DG1->cellRect(1, 1).topLeft() - Form1->DG1->cellRect(0, 0).topLeft(),
             QPoint(28, 28));
    Form1->Siatka1->trigger();
    QCOMPARE(Form1->DG1->gridLineWidth(), 1);
}

void TestMainWindow::koniecClosesTheWindow() {
    QVERIFY(newStage());
    Form1->Koniec1->trigger();
    QVERIFY(!Form1->isVisible());
    QVERIFY(Form1->DG1->isHidden());
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
