// Drawing in the main window as the user draws: a right-button stroke and the shapes of each
// mode of "&Narzędzia" chosen by its key, the mode in the status bar, Ctrl+Z during a drag, a
// fill's and a replace's count, the picker of the middle button, the toolbar's keys (a dialog
// keeping its letters), one step of "Cofnij" per gesture, and a drawing saved byte for byte.
#include "EditorFixture.h"
#include "EditorStatusBar.h"

#include <QUndoStack>

using namespace fixture;

namespace {

const QString None = "........";

QWidget* port() {
    return Form1->DG1->viewport();
}
void press(int column, int row, Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(port(), Qt::RightButton, keys, centreOf(column, row));
}
void moveTo(int column, int row) {
    QTest::mouseMove(port(), centreOf(column, row));
}
void release(int column, int row) {
    QTest::mouseRelease(port(), Qt::RightButton, {}, centreOf(column, row));
}
void drag(QPoint from, QPoint to) {
    press(from.x(), from.y());
    moveTo(to.x(), to.y());
    release(to.x(), to.y());
}

// A key typed in the main window, which the window manager has made active again after the
// last dialog (the offscreen platform leaves that to the test).
void key(const char* sequence) {
    QApplication::setActiveWindow(Form1);
    const QKeyCombination combination = QKeySequence(QString::fromLatin1(sequence))[0];
    QTest::keyClick(Form1, combination.key(), combination.keyboardModifiers());
}

// Rows 1 to 5, columns 1 to 8.
QStringList corner() {
    QStringList rows;
    for (int row = 1; row <= 5; ++row) {
        QString codes;
        for (int column = 1; column <= 8; ++column)
            codes += QLatin1Char(cell(column, row));
        rows << codes;
    }
    return rows;
}

int steps() {
    return Workflow->history().stack().index();
}
QString modeShown() {
    return Form1->StatusBar1->LTryb->text();
}
QString remark() {
    return Form1->StatusBar1->currentMessage();
}

} // namespace

class TestDrawingWindow : public QObject {
    Q_OBJECT

    EditorSession session;

private slots:
    void init() {
        QVERIFY(session.start());
        Form1->resize(1200, 900); // the 32 x 20 stage whole, so that no drag scrolls
        QVERIFY(newStage());
    }
    void cleanup() { session.stop(); }

    // A fast move from (3,2) to (10,6) skips cells; the stroke covers the line between them,
    // written on the release as one step that undoes whole.
    void strokeLeavesNoGapAndIsOneStep() {
        QCOMPARE(modeShown(), QString("Tryb: Pędzel"));
        key("K");
        const krelwin::Plansza fresh = Stan->etap.plansza;
        press(2, 2);
        moveTo(3, 2);
        moveTo(10, 6);
        QCOMPARE(Stan->etap.plansza, fresh);
        release(10, 6);
        QCOMPARE(corner(), QStringList({None, ".oo.....", "...oo...", ".....oo.", ".......o"}));
        QCOMPARE(cells({{9, 5}, {10, 6}, {11, 6}}), QString("oo."));
        QCOMPARE(steps(), 1);
        QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{2, 2}));
        Form1->Cofnij1->trigger();
        QCOMPARE(Stan->etap.plansza, fresh);
    }

    void shapesByTheirKeys_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("line") << "L"
                              << "Linia" << QPoint(1, 1) << QPoint(7, 3)
                              << QStringList{"oo......", "..ooo...", ".....oo.", None, None};
        QTest::newRow("rectangle") << "R"
                                   << "Prostokąt" << QPoint(6, 4) << QPoint(2, 2)
                                   << QStringList{None, ".ooooo..", ".o...o..", ".ooooo..", None};
        QTest::newRow("filled rectangle")
            << "Shift+R"
            << "Prostokąt pełny" << QPoint(0, 3) << QPoint(3, 5)
            << QStringList{None, None, "ooo.....", "ooo.....", "ooo....."};
    }
    void shapesByTheirKeys() {
        QFETCH(QString, keys);
        QFETCH(QString, mode);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QStringList, rows);
        key("K");
        key(qPrintable(keys));
        QCOMPARE(modeShown(), "Tryb: " + mode);
        QStringList checked;
        for (QAction* item : Form1->Narzedzia1->actions())
            if (item->isChecked())
                checked << item->text();
        QCOMPARE(checked, QStringList{mode});
        const krelwin::Plansza fresh = Stan->etap.plansza;
        press(from.x(), from.y());
        moveTo(10, 10); // a detour the shape forgets
        moveTo(to.x(), to.y());
        QCOMPARE(Stan->etap.plansza, fresh); // written on the release
        release(to.x(), to.y());
        QCOMPARE(corner(), rows);
        QCOMPARE(steps(), 1);
        Form1->Cofnij1->trigger();
        QCOMPARE(Stan->etap.plansza, fresh);
    }

    // Ctrl+Z during a drag drops the rectangle in progress and undoes the line before; the
    // release then draws nothing. (Escape and the left press: the drawing tools' own test.)
    void undoDuringADragDropsTheShape() {
        key("K");
        key("L");
        drag({1, 1}, {4, 1});
        key("R");
        press(2, 2);
        moveTo(6, 5);
        key("Ctrl+Z");
        moveTo(8, 8);
        release(8, 8);
        QCOMPARE(cells({{1, 1}, {2, 2}, {6, 5}, {8, 8}, {2, 8}}), QString("....."));
        QCOMPARE(steps(), 0);
    }

    // The fill and the replace of the window's right press, Shift passed on, each telling its
    // count in the status bar. (The counts of bounded fills: the drawing tools' own test.)
    void fillsTellTheirCount() {
        key("F");
        key("K");
        rightPress(2, 2);
        QCOMPARE(Stan->etap.countInInterior('o'), 32 * 20);
        QCOMPARE(remark(), QString("Zmieniono 640 pól"));
        key("Z");
        select(3, 1, 4, 2);
        press(1, 1, Qt::ShiftModifier);
        release(1, 1);
        QCOMPARE(corner().mid(0, 3), QStringList({"oo++oooo", "oo++oooo", "oooooooo"}));
        QCOMPARE(remark(), QString("Zmieniono 4 pola"));
        QCOMPARE(steps(), 2);
    }

    // The exact code, its kind's button pressed, no selection filled; the pressed button
    // clicked again switches the tool off; a byte outside the alphabet is not picked.
    void pickerTakesTheCodeUnderTheMiddleButton() {
        Stan->etap.plansza.at(4, 4) = '<';
        Stan->etap.plansza.at(5, 4) = '?';
        select(6, 6, 8, 8);
        QTest::mouseClick(port(), Qt::MiddleButton, {}, centreOf(4, 4));
        QCOMPARE(Stan->Narzedzie, '<');
        QCOMPARE(pressedToolButtons(), QList<int>{6});
        QCOMPARE(cells({{6, 6}, {8, 8}}), QString(".."));
        QCOMPARE(Form1->DG1->selection().right, 8);
        QTest::mouseClick(port(), Qt::MiddleButton, {}, centreOf(5, 4));
        QCOMPARE(Stan->Narzedzie, '<');
        leftClick(10, 10);
        rightPress(10, 10);
        QCOMPARE(cell(10, 10), '<');
        QTest::mouseClick(Form1->ToolButtons[5], Qt::LeftButton); // "Motyl"
        QCOMPARE(Stan->Narzedzie, '.');
        QCOMPARE(pressedToolButtons(), QList<int>{14});
    }

    // Each key acts as its button's click: the tool, the pressed button, a second press back to
    // the empty tool (not the key's repeats while held), a selection of several cells filled.
    // A dialog with the keyboard keeps the letters, also where it takes none.
    void toolbarKeys() {
        const char* keys[] = {"S", "D",       "Z",       "K", "N",       "M", "T",
                              "U", "Shift+D", "Shift+U", "A", "Shift+A", "W", "G"};
        const QByteArray codes = "S*+o#>/=\"%&~W.";
        for (int index = 0; index < 14; ++index) {
            key(keys[index]);
            QCOMPARE(Stan->Narzedzie, codes[index]);
            QCOMPARE(pressedToolButtons(), QList<int>{index + 1});
        }
        key("D");
        QTest::simulateEvent(Form1, true, Qt::Key_D, {}, "d", true); // held down: repeats
        QCOMPARE(Stan->Narzedzie, '*');
        key("D");
        QCOMPARE(Stan->Narzedzie, '.');
        select(2, 2, 3, 3);
        key("Shift+D");
        QCOMPARE(cells({{2, 2}, {3, 3}, {4, 4}}), QString("\"\"."));

        QVERIFY(inDialogOf(Form1->Parametryetapu1, [] {
            QVERIFY(QTest::qWaitForWindowActive(Form2));
            Form2->EEtap->clear();
            Form2->EEtap->setFocus();
            QTest::keyClicks(Form2->EEtap, "Dlf");
            QTest::keyClick(Form2->EEtap, 'R', Qt::ShiftModifier);
            QCOMPARE(Form2->EEtap->text(), QString("DlfR"));
            Form2->BitBtn2->setFocus();
            QTest::keyClick(Form2->BitBtn2, Qt::Key_K);
            QTest::keyClick(Form2->BitBtn2, Qt::Key_L);
        }));
        QCOMPARE(Stan->Narzedzie, '"');
        QCOMPARE(modeShown(), QString("Tryb: Pędzel"));
    }

    // Opened from a file, drawn with a rectangle, a line and a fill, saved over its record.
    void drawingSavedByteForByte() {
        const QString path = session.folder->path("rysunek.map");
        writeBytes(path, record("Alfa", '.'));
        QVERIFY(openFile(path));
        key("N");
        key("R");
        drag({3, 3}, {6, 5});
        key("D");
        key("L");
        drag({8, 2}, {18, 2});
        key("K");
        key("F");
        rightPress(4, 4);
        QVERIFY(save());
        std::vector<std::string> rows(10, std::string(18, '.'));
        rows[0] = "SW................";
        rows[1] = ".......***********";
        rows[2] = "..####............";
        rows[3] = "..#oo#............";
        rows[4] = "..####............";
        QCOMPARE(readBytes(path), recordOfRows("Alfa", 18, rows));
    }
};

QTEST_MAIN(TestDrawingWindow)
#include "test_drawing_window.moc"
