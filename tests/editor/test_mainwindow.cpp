// The main window: its start, the tools, painting, selections, turning creatures, the block
// clipboard through the menu and the stage size on the cells.
#include "EditorFixture.h"

#include <QMenuBar>
#include <QSignalSpy>

using namespace fixture;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { startEditor(); }
    void cleanup() { stopEditor(); }

    void startsWithTitleMenusHiddenViewAndDefaults() {
        QCOMPARE(Form1->windowTitle(), QStringLiteral("Krelwin Konstruktor w.1.02."));
        QStringList captions;
        for (QAction* menu : Form1->menuBar()->actions())
            captions << menu->text() + (menu->isEnabled() ? "+" : "-");
        QCOMPARE(captions,
                 QStringList({"&Plik+", "E&tapy-", "&Edycja-", "&Opcje+", "&Narzędzia+"}));
        QStringList plik;
        for (QAction* item : Form1->Plik1->actions())
            plik << (item->isSeparator() ? QStringLiteral("-") : item->text());
        QCOMPARE(plik, QStringList({"Nowy", "Otwórz", "Zapisz", "-", "Wyjście"}));
        QVERIFY(!Form1->Zapisz1->isEnabled() && !Form1->Generator1->isEnabled());
        QVERIFY(Form1->Siatka1->isChecked());
        QVERIFY(!Form1->DG1->isVisible());
        for (QLabel* label : {Form1->LPlik, Form1->LEtap, Form1->Label1, Form1->LPos})
            QVERIFY(!label->isVisible());
        QVERIFY(Form1->Label3->isVisible());
        QCOMPARE(Form1->LPos->text(), QStringLiteral("x,y"));
        QStringList hints;
        for (QToolButton* button : Form1->ToolButtons)
            hints << button->toolTip();
        QCOMPARE(hints.join('|'),
                 QStringLiteral("Pozycja startowa (S)|Diament (D)|Ziemia (Z)|Kamień (K)|Nit (N)|"
                                "Motyl (M)|Potwór (T)|Mur (U)|Diamentowy mur (Shift+D)|"
                                "Mur rozszerzalny (Shift+U)|Lawa rosnąca (A)|"
                                "Lawa przepuszczająca (Shift+A)|Wyjście (W)|Puste pole (G)"));
        QCOMPARE(pressedToolButtons(), QList<int>{});
        QCOMPARE(Stan->Narzedzie, '.');
        const krelwin::ParametryEtapu& p = Stan->etap.parametry;
        QCOMPARE(QList<int>({p.Szer, p.Wys, p.IleD, p.PktD, p.MagMur, p.RozL, p.LawP, p.CzasG}),
                 QList<int>({32, 20, 10, 10, 10, 10, 10, 100}));
        QCOMPARE(p.Typ, 'Z');
        QCOMPARE(p.Kolory, std::string("00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55"));
        QCOMPARE(Stan->BiezacyEtap(), QStringLiteral("Etap 01"));
        QCOMPARE(Stan->BiezacyPlik(), QStringLiteral("plik"));
        for (int column = 0; column <= 81; ++column) // every cell a rivet
            for (int row = 0; row <= 81; ++row)
                QCOMPARE(cell(column, row), '#');
    }

    void toolButtonsToggleTheirCodes_data() {
        QTest::addColumn<int>("number");
        for (int number = 1; number <= 13; ++number)
            QTest::newRow(qPrintable(QString::number(number))) << number;
    }
    void toolButtonsToggleTheirCodes() {
        QFETCH(int, number);
        QTest::mouseClick(Form1->ToolButtons[number - 1], Qt::LeftButton);
        // The codes of the cell alphabet, button by button.
        QCOMPARE(Stan->Narzedzie, "S*+o#>/=\"%&~W"[number - 1]);
        QCOMPARE(pressedToolButtons(), QList<int>{number});
        QTest::mouseClick(Form1->ToolButtons[number - 1], Qt::LeftButton);
        QCOMPARE(Stan->Narzedzie, '.');
        QCOMPARE(pressedToolButtons(), QList<int>{14});
        QTest::mouseClick(Form1->ToolButtons[13], Qt::LeftButton); // the empty tool stays pressed
        QCOMPARE(pressedToolButtons(), QList<int>{14});
    }

    void rightPressPaintsAndLPosShowsRowThenColumn() {
        Form1->resize(800, 600);
        QVERIFY(newStage(18, 10));
        leftClick(12, 5);
        QCOMPARE(Form1->LPos->text(), QStringLiteral("5,12"));
        QTest::keyClick(Form1->DG1, Qt::Key_Right); // keys move the cell but not the text
        QCOMPARE(Form1->DG1->currentColumn(), 13);
        QCOMPARE(Form1->LPos->text(), QStringLiteral("5,12"));
        Form1->ToolButtonClick(8); // "=": one cell selected, so nothing is filled
        QCOMPARE(cell(13, 5), '.');
        rightPress(7, 2);
        QCOMPARE(cell(7, 2), '=');
        QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{7, 2}));
        QCOMPARE(Form1->LPos->text(), QStringLiteral("5,13")); // the cell current before
        // On the border ring, or beyond the last column, a right press changes no cell.
        const krelwin::Plansza before = Stan->etap.plansza;
        rightPress(0, 3);
        const QRect last = Form1->DG1->cellRect(19, 3);
        QVERIFY(last.right() + 20 < Form1->DG1->viewport()->width());
        QTest::mousePress(Form1->DG1->viewport(), Qt::RightButton, {},
                          QPoint(last.right() + 15, last.center().y()));
        QCOMPARE(Stan->etap.plansza, before);
        QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{0, 3}));
    }

    void selectionFillsOnlyItsInterior() {
        QVERIFY(newStage());
        select(0, 0, 3, 2);                                       // 4 x 3, reaching into the ring
        QTest::mouseClick(Form1->ToolButtons[7], Qt::LeftButton); // "Mur"
        for (int column = 0; column <= 4; ++column)
            for (int row = 0; row <= 3; ++row) {
                const bool ring = column == 0 || row == 0;
                const bool inside = column <= 3 && row <= 2;
                QCOMPARE(cell(column, row), ring ? '#' : inside ? '=' : '.');
            }
        // The empty tool clears it, and is the one button pressed.
        QTest::mouseClick(Form1->ToolButtons[13], Qt::LeftButton);
        QCOMPARE(cells({{1, 1}, {3, 1}, {1, 2}, {3, 2}}), QString("...."));
        QCOMPARE(pressedToolButtons(), QList<int>{14});
        // A right press anywhere with a selection fills the selection, not the pressed cell.
        Form1->ToolButtonClick(2);
        select(5, 5, 6, 7);
        rightPress(20, 15);
        QCOMPARE(cells({{5, 5}, {6, 5}, {5, 7}, {6, 7}, {20, 15}}), QString("****."));
    }

    void doubleClickTurnsCreatures_data() {
        QTest::addColumn<char>("before");
        QTest::addColumn<char>("after");
        QTest::newRow("butterfly right to up") << '>' << '^';
        QTest::newRow("butterfly down to right") << 'v' << '>';
        QTest::newRow("monster left to up") << '/' << '|';
        QTest::newRow("monster down to left") << '\\' << '/';
        QTest::newRow("diamond unchanged") << '*' << '*';
    }
    void doubleClickTurnsCreatures() {
        QFETCH(char, before);
        QFETCH(char, after);
        QVERIFY(newStage());
        Stan->etap.plansza.at(4, 4) = before;
        QSignalSpy presses(Form1->DG1, &MapView::mousePressed);
        // A double-click arrives as a press and release, then the second press as a double-click.
        QTest::mouseClick(Form1->DG1->viewport(), Qt::LeftButton, {}, centreOf(4, 4));
        QTest::mouseDClick(Form1->DG1->viewport(), Qt::LeftButton, {}, centreOf(4, 4));
        QCOMPARE(cell(4, 4), after);
        QCOMPARE(presses.count(), 1);
    }

    // Each press of a right double-click paints: its second press may fall in the next cell.
    void rightDoubleClickPaintsWithBothPresses() {
        QVERIFY(newStage());
        QTest::mouseClick(Form1->ToolButtons[1], Qt::LeftButton); // "Diament"
        const QRect left = Form1->DG1->cellRect(4, 4);
        const QRect right = Form1->DG1->cellRect(5, 4);
        QTest::mouseClick(Form1->DG1->viewport(), Qt::RightButton, {},
                          QPoint(left.right() - 1, left.center().y()));
        // The second press arrives as a double-click, and its release follows as ever.
        QTest::mouseDClick(Form1->DG1->viewport(), Qt::RightButton, {},
                           QPoint(right.left() + 1, right.center().y()));
        QTest::mouseRelease(Form1->DG1->viewport(), Qt::RightButton, {},
                            QPoint(right.left() + 1, right.center().y()));
        QCOMPARE(cells({{3, 4}, {4, 4}, {5, 4}, {6, 4}}), QString(".**."));
    }

    void clipboardThroughTheMenu() {
        QVERIFY(newStage(32, 20));
        leftClick(3, 3);
        const krelwin::Plansza fresh = Stan->etap.plansza;
        Form1->Wklej1->trigger(); // before any copy
        QCOMPARE(Stan->etap.plansza, fresh);
        const char block[2][3] = {{'S', '*', 'o'}, {'+', '=', 'W'}};
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column)
                Stan->etap.plansza.at(2 + column, 2 + row) = block[row][column];
        select(2, 2, 4, 3);
        Form1->Kopiuj1->trigger();
        leftClick(0, 5); // at a border cell nothing is pasted
        krelwin::Plansza before = Stan->etap.plansza;
        Form1->Wklej1->trigger();
        QCOMPARE(Stan->etap.plansza, before);
        leftClick(31, 20); // near the edge, what falls outside the interior is dropped
        Form1->Wklej1->trigger();
        QCOMPARE(cells({{31, 20}, {32, 20}, {33, 20}, {31, 21}}), QString("S*##"));
        // "Wytnij" clears border cells too; "Skasuj" keeps the clipboard.
        Stan->etap.plansza.at(1, 1) = 'o';
        select(0, 0, 1, 1);
        Form1->Wytnij1->trigger();
        QCOMPARE(cells({{0, 0}, {1, 0}, {1, 1}}), QString("..."));
        leftClick(10, 10);
        Form1->Skasuj1->trigger();
        Form1->Wklej1->trigger(); // the ring's row 0 and column 0 are never pasted
        QCOMPARE(cells({{10, 10}, {9, 10}, {10, 9}}), QString("o.."));
    }

    void parametersShrinkingAndGrowingRefillTheRivets() {
        QVERIFY(newStage(40, 25));
        for (const QPoint at : {QPoint(35, 5), QPoint(5, 23), QPoint(5, 5)})
            Stan->etap.plansza.at(at.x(), at.y()) = '*';
        QVERIFY(setSize(Form1->Parametryetapu1, 32, 20));
        QCOMPARE(Form1->DG1->columnCount(), 34);
        QCOMPARE(Form1->DG1->rowCount(), 22);
        QVERIFY(setSize(Form1->Parametryetapu1, 40, 25));
        QCOMPARE(cells({{35, 5}, {5, 23}, {33, 1}, {40, 25}}), QString("####"));
        QCOMPARE(cells({{5, 5}, {32, 20}}), QString("*."));
    }

    void koniecClosesTheWindow() {
        QVERIFY(newStage());
        Form1->Koniec1->trigger();
        QVERIFY(!Form1->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
