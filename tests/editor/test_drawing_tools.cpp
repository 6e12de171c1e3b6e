// The drawing modes through real mouse events on a map view over a stage of the test's own,
// without the main window: strokes, lines, rectangles, fills and replacements, their previews,
// Escape and the left press that cancel a shape, one history step per gesture, the modes' menu
// and keys, and the small tables the window takes from the tools (keys, picker, counts).
#include "CellRenderer.h"
#include "ChangeCount.h"
#include "DrawingModes.h"
#include "MapView.h"
#include "Picker.h"
#include "ToolKeys.h"
#include "drawing.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using tools::DrawingMode;

namespace {

// A 32 x 20 stage, empty inside, shown whole in a map view; every committed edit becomes one
// step of a small history that keeps the cells as they were before it.
struct Bench {
    krelwin::Etap etap;
    QWidget window;
    MapView* view = nullptr;
    std::unique_ptr<tools::DrawingModes> modes;
    std::vector<krelwin::Plansza> steps;

    Bench() {
        etap.clearInterior();
        auto* layout = new QVBoxLayout(&window);
        view = new MapView;
        layout->addWidget(view);
        view->setRowCount(etap.parametry.Wys + 2);
        view->setColumnCount(etap.parametry.Szer + 2);
        view->setDrawCellHandler([this](QPainter& canvas, int column, int row, const QRect& r) {
            krelwin::render::drawCell(canvas, view->tiles(), etap.plansza.at(column, row), r);
        });
        tools::ToolContext context{etap, *view, [this] { return narzedzie; },
                                   [this](const tools::Edit& edit) {
                                       const krelwin::Plansza before = etap.plansza;
                                       krelwin::ZapisanePola written = edit();
                                       if (!(etap.plansza == before))
                                           steps.push_back(before);
                                       return written;
                                   }};
        modes = std::make_unique<tools::DrawingModes>(context, &window);
        QObject::connect(view, &MapView::mousePressed, modes.get(),
                         [this](Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint at) {
                             if (button == Qt::RightButton)
                                 modes->press(view->cellAt(at), keys);
                         });
        window.resize(1100, 760);
        window.show();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
    }

    char narzedzie = '+';

    QPoint at(int column, int row) const { return view->cellRect(column, row).center(); }
    QWidget* port() const { return view->viewport(); }
    void press(int column, int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(port(), Qt::RightButton, keys, at(column, row));
    }
    void moveTo(int column, int row) { QTest::mouseMove(port(), at(column, row)); }
    void release(int column, int row) {
        QTest::mouseRelease(port(), Qt::RightButton, {}, at(column, row));
    }
    void click(int column, int row, Qt::KeyboardModifiers keys = {}) {
        press(column, row, keys);
        release(column, row);
    }
    void select(int fromColumn, int fromRow, int toColumn, int toRow) {
        QTest::mouseClick(port(), Qt::LeftButton, {}, at(fromColumn, fromRow));
        QTest::mouseClick(port(), Qt::LeftButton, Qt::ShiftModifier, at(toColumn, toRow));
    }

    // The codes of a row of cells, `from` to `to` inclusive.
    QString row(int row, int from, int to) const {
        QString codes;
        for (int column = from; column <= to; ++column)
            codes += QLatin1Char(etap.plansza.at(column, row));
        return codes;
    }
    // The cells previewed, and their codes, in the same shape.
    QString previewRow(int row, int from, int to) const {
        QString codes;
        for (int column = from; column <= to; ++column)
            codes += QLatin1Char(view->previewCode(column, row).value_or(' '));
        return codes;
    }
    // Cells drawn by the repaint that the last event asked for.
    int cellsDrawn() {
        QApplication::processEvents();
        return view->cellsDrawnByLastPaint();
    }
};

} // namespace

class TestDrawingTools : public QObject {
    Q_OBJECT

private slots:
    // A fast move from (3,2) to (10,6) skips cells; the stroke still covers the straight line
    // between them, previewed first and written on the release as one step, which undoes whole.
    void strokeFillsTheGapOfAFastMoveAsOneStep() {
        Bench b;
        QCOMPARE(b.modes->mode(), DrawingMode::Brush);
        const krelwin::Plansza before = b.etap.plansza;
        b.press(2, 2);
        b.moveTo(3, 2);
        b.cellsDrawn();
        b.moveTo(10, 6);
        QCOMPARE(b.cellsDrawn(), 7); // the seven new cells only
        QCOMPARE(b.etap.plansza, before);
        QCOMPARE(b.previewRow(3, 2, 11), QString("  ++      "));
        b.release(10, 6);
        QCOMPARE(b.row(2, 1, 11), QString(".++........"));
        QCOMPARE(b.row(3, 1, 11), QString("...++......"));
        QCOMPARE(b.row(4, 1, 11), QString(".....++...."));
        QCOMPARE(b.row(5, 1, 11), QString(".......++.."));
        QCOMPARE(b.row(6, 1, 11), QString(".........+."));
        QCOMPARE(b.etap.countInInterior('+'), 9);
        QVERIFY(!b.view->previewCode(10, 6));
        QCOMPARE(b.steps.size(), std::size_t(1));
        QCOMPARE(b.steps.back(), before);
    }

    // With one cell selected a press paints the cell under the mouse and makes it current; the
    // ring is never painted. With several selected the press fills them at once, wherever it
    // falls, and the drag paints nothing more.
    void aPressWithoutAMoveIsThePlainRightPress() {
        Bench b;
        b.narzedzie = '=';
        b.click(7, 2);
        QCOMPARE(b.row(2, 6, 8), QString(".=."));
        QCOMPARE(b.view->currentCell(), (MapView::Cell{7, 2}));
        b.click(0, 3);
        QCOMPARE(b.etap.plansza.at(0, 3), '#');
        QCOMPARE(b.view->currentCell(), (MapView::Cell{0, 3}));
        QCOMPARE(b.steps.size(), std::size_t(1));

        b.narzedzie = '*';
        b.select(5, 5, 6, 6);
        b.press(20, 15);
        QCOMPARE(b.row(5, 5, 6) + b.row(6, 5, 6), QString("****"));
        b.moveTo(25, 15);
        b.release(25, 15);
        QCOMPARE(b.row(15, 19, 26), QString("........"));
        QCOMPARE(b.view->currentCell(), (MapView::Cell{5, 5}));
        QCOMPARE(b.steps.size(), std::size_t(2));
    }

    void shapesPreviewThenDrawOnRelease_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QStringList>("rows"); // rows 1 to 5, columns 1 to 8, after the release
        QTest::addColumn<int>("count");        // cells drawn in the whole stage
        const QString none = "........";
        // Slope 1/3: the ideal line is at rows 1, 1.33, 1.67, 2, 2.33, 2.67, 3.
        QTest::newRow("line") << int(DrawingMode::Line) << QPoint(1, 1) << QPoint(7, 3)
                              << QStringList{"++......", "..+++...", ".....++.", none, none} << 7;
        QTest::newRow("rectangle")
            << int(DrawingMode::Rectangle) << QPoint(6, 4) << QPoint(2, 2)
            << QStringList{none, ".+++++..", ".+...+..", ".+++++..", none} << 12;
        QTest::newRow("filled rectangle")
            << int(DrawingMode::FilledRectangle) << QPoint(2, 2) << QPoint(4, 3)
            << QStringList{none, ".+++....", ".+++....", none, none} << 6;
        QTest::newRow("one-row rectangle")
            << int(DrawingMode::Rectangle) << QPoint(3, 5) << QPoint(8, 5)
            << QStringList{none, none, none, none, "..++++++"} << 6;
        // Pressed in the ring, released far below the last row: the rectangle reaches the
        // nearest cell, in the ring's row 21, and only its interior cells are drawn (column 3
        // down to row 20).
        QTest::newRow("rectangle across the ring")
            << int(DrawingMode::Rectangle) << QPoint(0, 3) << QPoint(3, 40)
            << QStringList{none, none, "+++.....", "..+.....", "..+....."} << 20;
        QTest::newRow("one-cell line") << int(DrawingMode::Line) << QPoint(4, 4) << QPoint(4, 4)
                                       << QStringList{none, none, none, "...+....", none} << 1;
    }
    void shapesPreviewThenDrawOnRelease() {
        QFETCH(int, mode);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QStringList, rows);
        QFETCH(int, count);
        Bench b;
        b.modes->setMode(DrawingMode(mode));
        const krelwin::Plansza before = b.etap.plansza;
        // A row beyond the grid is a point below the view.
        const QPoint end = to.y() > 21 ? QPoint(b.at(to.x(), 21).x(), b.view->height() + 50)
                                       : b.at(to.x(), to.y());
        b.press(from.x(), from.y());
        b.moveTo(10, 10); // a detour the shape forgets
        QTest::mouseMove(b.port(), end);
        QCOMPARE(b.etap.plansza, before);
        QStringList previewed;
        for (int row = 1; row <= 5; ++row)
            previewed << b.previewRow(row, 1, 8).replace(' ', '.');
        QCOMPARE(previewed, rows);
        QVERIFY(!b.view->previewCode(10, 10));
        QTest::mouseRelease(b.port(), Qt::RightButton, {}, end);
        QStringList drawn;
        for (int row = 1; row <= 5; ++row)
            drawn << b.row(row, 1, 8);
        QCOMPARE(drawn, rows);
        QCOMPARE(b.steps.size(), std::size_t(1));
        QCOMPARE(b.etap.countInInterior('+'), count);
        QVERIFY(!b.view->previewCode(from.x(), from.y()));
    }

    // Escape, or a left press, during a shape or a stroke: the preview goes, nothing changes,
    // nothing is recorded, and the release that follows does nothing; the left press does not
    // move the selection either.
    void escapeAndALeftPressCancel_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("line, Escape") << int(DrawingMode::Line) << true;
        QTest::newRow("rectangle, left press") << int(DrawingMode::Rectangle) << false;
        QTest::newRow("stroke, Escape") << int(DrawingMode::Brush) << true;
        QTest::newRow("filled, left press") << int(DrawingMode::FilledRectangle) << false;
    }
    void escapeAndALeftPressCancel() {
        QFETCH(int, mode);
        QFETCH(bool, byEscape);
        Bench b;
        b.modes->setMode(DrawingMode(mode));
        QTest::mouseClick(b.port(), Qt::LeftButton, {}, b.at(12, 12));
        const krelwin::Plansza before = b.etap.plansza;
        b.press(2, 2);
        b.moveTo(6, 5);
        const MapView::Cell current = b.view->currentCell(); // the brush's press moves it
        QVERIFY(b.view->previewCode(6, 5));
        if (byEscape)
            QTest::keyClick(b.view, Qt::Key_Escape);
        else
            QTest::mouseClick(b.port(), Qt::LeftButton, {}, b.at(4, 4));
        QVERIFY(!b.view->previewCode(6, 5));
        b.moveTo(8, 8);
        b.release(8, 8);
        QCOMPARE(b.etap.plansza, before);
        QVERIFY(b.steps.empty());
        QCOMPARE(b.view->currentCell(), current);
    }

    void fillAndReplaceReportTheirCount() {
        Bench b;
        b.modes->setMode(DrawingMode::Fill);
        QSignalSpy counts(b.modes.get(), &tools::DrawingModes::cellsChanged);
        b.narzedzie = '#';
        b.modes->setMode(DrawingMode::Rectangle); // a wall round columns 1-4, rows 1-3
        b.press(5, 1);
        b.release(5, 4);
        b.press(1, 4);
        b.release(5, 4);
        b.modes->setMode(DrawingMode::Fill);
        b.narzedzie = 'o';
        b.click(2, 2); // the 4 x 3 pocket
        QCOMPARE(b.row(1, 1, 6), QString("oooo#."));
        QCOMPARE(b.row(3, 1, 6), QString("oooo#."));
        b.narzedzie = '*';
        b.select(3, 1, 10, 2);
        b.narzedzie = '+';
        b.click(1, 1, Qt::ShiftModifier); // every "o" of the selection
        QCOMPARE(b.row(1, 1, 6), QString("oo++#."));
        QCOMPARE(b.row(3, 1, 6), QString("oooo#."));
        b.click(0, 5);                    // the ring
        b.click(1, 1, Qt::ShiftModifier); // "o" with the tool "+", selection still standing
        QCOMPARE(counts.size(), 4);
        QCOMPARE(counts.at(0).at(0).toInt(), 12);
        QCOMPARE(counts.at(1).at(0).toInt(), 4);
        QCOMPARE(counts.at(2).at(0).toInt(), 0);
        QCOMPARE(counts.at(3).at(0).toInt(), 0);
        QCOMPARE(b.steps.size(), std::size_t(4)); // two walls, the fill, the replace
    }

    void modesAreAnExclusiveMenuWithOneKeyEach() {
        Bench b;
        const QStringList captions{"Pędzel", "Linia", "Prostokąt", "Prostokąt pełny",
                                   "Wypełnianie"};
        const QList<QKeySequence> keys{QKeySequence("P"), QKeySequence("L"), QKeySequence("R"),
                                       QKeySequence("Shift+R"), QKeySequence("F")};
        QCOMPARE(b.modes->menu()->title(), QString("&Narzędzia"));
        const QList<QAction*> items = b.modes->menu()->actions();
        QCOMPARE(items.size(), 5);
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i]->text(), captions[i]);
            QCOMPARE(items[i]->shortcut(), keys[i]);
            QVERIFY(items[i]->isCheckable());
        }
        QVERIFY(b.modes->group()->isExclusive());
        QCOMPARE(b.modes->statusText(), QString("Tryb: Pędzel"));
        QSignalSpy changes(b.modes.get(), &tools::DrawingModes::modeChanged);
        QTest::keyClick(b.view, Qt::Key_L);
        QCOMPARE(b.modes->mode(), DrawingMode::Line);
        QTest::keyClick(b.view, Qt::Key_R, Qt::ShiftModifier);
        QCOMPARE(b.modes->mode(), DrawingMode::FilledRectangle);
        QVERIFY(b.modes->action(DrawingMode::FilledRectangle)->isChecked());
        QVERIFY(!b.modes->action(DrawingMode::Line)->isChecked());
        QTest::keyClick(b.view, Qt::Key_F);
        QCOMPARE(b.modes->statusText(), QString("Tryb: Wypełnianie"));
        QCOMPARE(changes.size(), 3);

        // A key switches the mode mid-drag: the shape in progress is dropped.
        b.modes->setMode(DrawingMode::Line);
        b.press(2, 2);
        b.moveTo(6, 2);
        QTest::keyClick(b.view, Qt::Key_P);
        QVERIFY(!b.view->previewCode(6, 2));
        b.release(6, 2);
        QCOMPARE(b.row(2, 2, 6), QString("....."));

        // A dialog with the keyboard takes the letters itself.
        QDialog dialog(&b.window);
        auto* field = new QLineEdit(&dialog);
        dialog.setModal(true);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_L);
        QCOMPARE(field->text(), QString("l"));
        QCOMPARE(b.modes->mode(), DrawingMode::Brush);
    }

    void toolbarKeysAreDistinctAndLeaveTheModesAlone() {
        // The toolbar's codes, ToolButton1 first.
        const QByteArray toolbar = "S*+o#>/=\"%&~W.";
        QSet<int> taken{QKeySequence("P")[0].toCombined(), QKeySequence("L")[0].toCombined(),
                        QKeySequence("R")[0].toCombined(), QKeySequence("Shift+R")[0].toCombined(),
                        QKeySequence("F")[0].toCombined()};
        for (std::size_t i = 0; i < tools::ToolButtonKeys.size(); ++i) {
            const tools::ToolKey& row = tools::ToolButtonKeys[i];
            QCOMPARE(row.kod, toolbar[qsizetype(i)]);
            QVERIFY2(!taken.contains(row.key.toCombined()), qPrintable(QString(row.kod)));
            QVERIFY((row.key.keyboardModifiers() | Qt::ShiftModifier) == Qt::ShiftModifier);
            taken.insert(row.key.toCombined());
            QCOMPARE(tools::toolKeyOf(row.kod), std::optional(row.key));
        }
        QVERIFY(!tools::toolKeyOf('<'));
        QCOMPARE(tools::toolButtonHint(1), QString("Diament (D)"));
        QCOMPARE(tools::toolButtonHint(9), QString("Mur rozszerzalny (Shift+U)"));
        QCOMPARE(tools::toolButtonHint(13), QString("Puste pole (G)"));
    }

    void pickerTakesTheExactCodeOfAKnownKind() {
        const struct {
            char cell;
            std::optional<char> tool;
            char button;
        } cases[] = {{'<', '<', '>'},        {'v', 'v', '>'},        {'-', '-', '/'},
                     {'\\', '\\', '/'},      {'*', '*', '*'},        {'.', '.', '.'},
                     {'#', '#', '#'},        {'?', std::nullopt, 0}, {'x', std::nullopt, 0},
                     {'\0', std::nullopt, 0}};
        for (const auto& c : cases) {
            QCOMPARE(tools::pickedTool(c.cell), c.tool);
            if (c.tool)
                QCOMPARE(tools::toolbarCodeOf(*c.tool), c.button);
        }
    }

    void changedCellsSpeakPolish_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        const std::pair<int, const char*> rows[] = {
            {0, "0 pól"},       {1, "1 pole"},      {2, "2 pola"},      {4, "4 pola"},
            {5, "5 pól"},       {11, "11 pól"},     {12, "12 pól"},     {14, "14 pól"},
            {21, "21 pól"},     {22, "22 pola"},    {24, "24 pola"},    {25, "25 pól"},
            {101, "101 pól"},   {102, "102 pola"},  {112, "112 pól"},   {1000, "1000 pól"},
            {6400, "6400 pól"}, {1913, "1913 pól"}, {1923, "1923 pola"}};
        for (const auto& [count, text] : rows)
            QTest::newRow(text) << count << QString::fromUtf8(text);
    }
    void changedCellsSpeakPolish() {
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(tools::changedCellsText(count), "Zmieniono " + text);
    }
};

QTEST_MAIN(TestDrawingTools)
#include "test_drawing_tools.moc"
