#include "EditorFixture.h"

#include "CellRenderer.h"
#include "TileSet.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>

#include <memory>
#include <vector>

using namespace fixture;

namespace {

// A bare view whose handler records the cells it is asked to draw.
struct RecordingView {
    std::unique_ptr<MapView> view = std::make_unique<MapView>();
    std::vector<MapView::Cell> drawn;
    std::vector<QColor> brushes;

    RecordingView(int columns, int rows, QSize size = {400, 300}) {
        view->setColumnCount(columns);
        view->setRowCount(rows);
        view->resize(size);
        view->setDrawCellHandler([this](int column, int row, const QRect&, int) {
            drawn.push_back({column, row});
            brushes.push_back(view->canvas()->brush().color());
        });
        view->show();
        QApplication::processEvents();
        drawn.clear();
        brushes.clear();
    }
    QWidget* viewport() const { return view->viewport(); }
    QPoint centre(int column, int row) const { return view->cellRect(column, row).center(); }
    void repaintNow() {
        drawn.clear();
        brushes.clear();
        viewport()->repaint();
    }
};

QImage grabView() {
    QApplication::processEvents();
    return Form1->DG1->viewport()->grab().toImage();
}

const QColor Silver(192, 192, 192);

} // namespace

class TestMapView : public QObject {
    Q_OBJECT

private slots:
    void cellsAreDrawnRowByRowAfterTheirFill();
    void cellAtReportsNoCellBeyondTheLast();
    void leftPressAndArrowsMoveBoth();
    void shiftOrDragMovesOnlyTheAnchor();
    void rightAndMiddlePressesMoveNothing();
    void pressSignalFollowsTheViewsOwnHandling();
    void settingTheCurrentCellCollapsesAndScrolls();
    void draggingAColumnBorderResizesWithoutAPress();
    void penIsSilverOnlyWhileLinesAreDrawn();
    void repaintingOneCellDrawsOneCell();

    void marksStandAtTheirPixels_data();
    void marksStandAtTheirPixels();
    void highlightShowsThroughATilesTransparency();
    void gridLinesOnAndOff();
    void marksStayBlackWhenLinesWereNeverDrawn();
    void oneEditedCellRepaintsOneCell();
    void narrowedColumnKeepsFullTilesAndItsOwnFill();
};

void TestMapView::cellsAreDrawnRowByRowAfterTheirFill() {
    RecordingView grid(3, 2);
    grid.view->setCurrentRow(0);
    grid.view->setCurrentColumn(1);
    grid.repaintNow();
    const std::vector<MapView::Cell> order{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
    QVERIFY(grid.drawn == order);
    const QColor highlight = grid.view->palette().color(QPalette::Active, QPalette::Highlight);
    QCOMPARE(grid.brushes[0], QColor(Qt::black));
    QCOMPARE(grid.brushes[1], highlight); // the current cell is selected
    // Beyond the last column and row the view is black.
    const QImage image = grid.viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(3 * 29 + 10, 10), QColor(Qt::black));
    QCOMPARE(image.pixelColor(10, 2 * 29 + 10), QColor(Qt::black));
}

void TestMapView::cellAtReportsNoCellBeyondTheLast() {
    RecordingView grid(3, 2);
    QCOMPARE(grid.view->cellAt({0, 0}), (MapView::Cell{0, 0}));
    QCOMPARE(grid.view->cellAt({28, 28}), (MapView::Cell{0, 0})); // grid line: cell left/above
    QCOMPARE(grid.view->cellAt({29, 29}), (MapView::Cell{1, 1}));
    QCOMPARE(grid.view->cellAt({86, 57}), (MapView::Cell{2, 1}));
    QVERIFY(!grid.view->cellAt({87, 10}));
    QVERIFY(!grid.view->cellAt({10, 58}));
    QVERIFY(!grid.view->cellAt({-1, 10}));
}

void TestMapView::leftPressAndArrowsMoveBoth() {
    RecordingView grid(6, 6);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.centre(2, 3));
    QCOMPARE(grid.view->currentCell(), (MapView::Cell{2, 3}));
    QTest::keyClick(grid.view.get(), Qt::Key_Right);
    QTest::keyClick(grid.view.get(), Qt::Key_Up);
    QCOMPARE(grid.view->currentCell(), (MapView::Cell{3, 2}));
    const MapView::Selection s = grid.view->selection();
    QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)), QRect(3, 2, 1, 1));
    for (int step = 0; step < 10; ++step)
        QTest::keyClick(grid.view.get(), Qt::Key_Left);
    QCOMPARE(grid.view->currentCell(), (MapView::Cell{0, 2}));
}

void TestMapView::shiftOrDragMovesOnlyTheAnchor() {
    RecordingView grid(8, 8);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.centre(5, 5));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, grid.centre(3, 6));
    QCOMPARE(grid.view->currentCell(), (MapView::Cell{5, 5}));
    MapView::Selection s = grid.view->selection();
    QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)), QRect(3, 5, 3, 2));
    QTest::keyClick(grid.view.get(), Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(grid.view.get(), Qt::Key_Up, Qt::ShiftModifier);
    s = grid.view->selection();
    QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)), QRect(3, 4, 3, 2));
    // Dragging from (1, 1) to (2, 3).
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, grid.centre(1, 1));
    QMouseEvent move(QEvent::MouseMove, grid.centre(2, 3),
                     grid.viewport()->mapToGlobal(grid.centre(2, 3)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, grid.centre(2, 3));
    QCOMPARE(grid.view->currentCell(), (MapView::Cell{1, 1}));
    s = grid.view->selection();
    QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)), QRect(1, 1, 2, 3));
}

void TestMapView::rightAndMiddlePressesMoveNothing() {
    RecordingView grid(6, 6);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.centre(1, 1));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, grid.centre(4, 4));
    QTest::mouseClick(grid.viewport(), Qt::MiddleButton, {}, grid.centre(3, 2));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::ShiftModifier, grid.centre(4, 4));
    QCOMPARE(grid.view->currentCell(), (MapView::Cell{1, 1}));
    const MapView::Selection s = grid.view->selection();
    QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)), QRect(1, 1, 1, 1));
}

void TestMapView::pressSignalFollowsTheViewsOwnHandling() {
    RecordingView grid(6, 6);
    std::vector<MapView::Cell> seen;
    QObject::connect(grid.view.get(), &MapView::mousePressed, grid.view.get(),
                     [&] { seen.push_back(grid.view->currentCell()); });
    QSignalSpy doubles(grid.view.get(), &MapView::doubleClicked);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.centre(2, 4));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.centre(2, 4));
    QTest::mouseDClick(grid.viewport(), Qt::RightButton, {}, grid.centre(5, 5));
    QVERIFY(seen == (std::vector<MapView::Cell>{{2, 4}, {2, 4}})); // right double: a press
    QCOMPARE(doubles.count(), 1);
}

void TestMapView::settingTheCurrentCellCollapsesAndScrolls() {
    RecordingView grid(82, 82, {300, 200});
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.centre(1, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, grid.centre(3, 3));
    grid.view->setCurrentRow(81);
    grid.view->setCurrentColumn(81);
    QCOMPARE(grid.view->currentCell(), (MapView::Cell{81, 81}));
    const MapView::Selection s = grid.view->selection();
    QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)), QRect(81, 81, 1, 1));
    QVERIFY(grid.viewport()->rect().contains(grid.view->cellRect(81, 81)));
    QVERIFY(grid.view->verticalScrollBar()->value() > 0);
}

void TestMapView::draggingAColumnBorderResizesWithoutAPress() {
    RecordingView grid(4, 2);
    QSignalSpy presses(grid.view.get(), &MapView::mousePressed);
    const QPoint border(28, 10); // the grid line right of column 0
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, border);
    QMouseEvent move(QEvent::MouseMove, border + QPoint(12, 0),
                     grid.viewport()->mapToGlobal(border + QPoint(12, 0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, border + QPoint(12, 0));
    QCOMPARE(presses.count(), 0);
    QCOMPARE(grid.view->columnWidth(0), 40);
    QCOMPARE(grid.view->cellRect(1, 0).left(), 41);
    QCOMPARE(grid.view->currentCell(), (MapView::Cell{0, 0}));
}

void TestMapView::penIsSilverOnlyWhileLinesAreDrawn() {
    RecordingView grid(3, 3);
    grid.view->setPenColor(Qt::black);
    grid.repaintNow();
    QCOMPARE(grid.view->pen().color(), Silver);
    grid.view->setGridLineWidth(0);
    grid.view->setPenColor(Qt::red);
    grid.repaintNow();
    QCOMPARE(grid.view->pen().color(), QColor(Qt::red));
}

void TestMapView::repaintingOneCellDrawsOneCell() {
    RecordingView grid(10, 10);
    int paints = 0;
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                ++*count;
            return false;
        }
    } counter(&paints);
    grid.viewport()->installEventFilter(&counter);
    grid.view->repaintCell(4, 7);
    QApplication::processEvents();
    QCOMPARE(paints, 1);
    QVERIFY(grid.drawn == (std::vector<MapView::Cell>{{4, 7}}));
}

// --- through the main window's RysujPole ----------------------------------------------

void TestMapView::marksStandAtTheirPixels_data() {
    QTest::addColumn<char>("code");
    QTest::addColumn<QRect>("mark"); // within a 28x28 cell
    QTest::newRow("butterfly left") << '<' << QRect(1, 0, 1, 28);
    QTest::newRow("monster left") << '/' << QRect(1, 0, 1, 28);
    QTest::newRow("butterfly up") << '^' << QRect(0, 1, 28, 1);
    QTest::newRow("monster up") << '|' << QRect(0, 1, 28, 1);
    QTest::newRow("butterfly right") << '>' << QRect(25, 0, 1, 28);
    QTest::newRow("monster right") << '-' << QRect(25, 0, 1, 28);
    QTest::newRow("butterfly down") << 'v' << QRect(0, 25, 28, 1);
    QTest::newRow("monster down") << '\\' << QRect(0, 25, 28, 1);
}

void TestMapView::marksStandAtTheirPixels() {
    QFETCH(char, code);
    QFETCH(QRect, mark);
    startEditor();
    QVERIFY(newStage());
    Form1->etap.plansza.at(2, 2) = code;
    leftClick(5, 5);
    Form1->DG1->repaintAll();
    const QImage image = grabView();
    const QRect cell = Form1->DG1->cellRect(2, 2);
    for (int x = 0; x < 28; ++x)
        for (int y = 0; y < 28; ++y) {
            const QColor pixel = image.pixelColor(cell.topLeft() + QPoint(x, y));
            if (mark.contains(x, y))
                QCOMPARE(pixel, Silver);
        }
    // The tile's own pixels beside the mark are not all silver: the mark is a line, not a fill.
    const QRect beside = mark.translated(mark.width() == 1 ? 2 : 0, mark.height() == 1 ? 2 : 0);
    bool anyOther = false;
    for (int x = beside.left(); x <= beside.right(); ++x)
        for (int y = beside.top(); y <= beside.bottom(); ++y)
            anyOther |= image.pixelColor(cell.topLeft() + QPoint(x, y)) != Silver;
    QVERIFY(anyOther);
    stopEditor();
}

void TestMapView::highlightShowsThroughATilesTransparency() {
    startEditor();
    QVERIFY(newStage());
    const QImage monster = krelwin::render::TileSet::builtIn().image(6);
    QVERIFY(!monster.isNull());
    QPoint transparent(-1, -1);
    QPoint opaque(-1, -1);
    for (int y = 2; y < 25 && (transparent.x() < 0 || opaque.x() < 0); ++y)
        for (int x = 2; x < 25; ++x) {
            const int alpha = qAlpha(monster.pixel(x, y));
            if (alpha == 0 && transparent.x() < 0)
                transparent = {x, y};
            if (alpha == 255 && opaque.x() < 0)
                opaque = {x, y};
        }
    QVERIFY(transparent.x() >= 0 && opaque.x() >= 0);
    Form1->etap.plansza.at(3, 3) = '/';
    Form1->etap.plansza.at(4, 3) = '/';
    leftClick(3, 3);
    const QImage image = grabView();
    const QColor highlight = Form1->DG1->palette().color(QPalette::Active, QPalette::Highlight);
    const QRect selected = Form1->DG1->cellRect(3, 3);
    const QRect other = Form1->DG1->cellRect(4, 3);
    QCOMPARE(image.pixelColor(selected.topLeft() + transparent), highlight);
    QCOMPARE(image.pixelColor(other.topLeft() + transparent), QColor(Qt::black));
    QCOMPARE(image.pixelColor(selected.topLeft() + opaque), monster.pixelColor(opaque));
    // An empty cell in the selection is the highlight throughout.
    leftClick(6, 6);
    const QImage empty = grabView();
    QCOMPARE(empty.pixelColor(Form1->DG1->cellRect(6, 6).center()), highlight);
    stopEditor();
}

void TestMapView::gridLinesOnAndOff() {
    startEditor();
    QVERIFY(newStage());
    leftClick(10, 10);
    QImage image = grabView();
    QCOMPARE(image.pixelColor(28, 14), Silver); // right of column 0
    QCOMPARE(image.pixelColor(14, 28), Silver); // below row 0
    QCOMPARE(image.pixelColor(29 + 28, 29 + 14), Silver);
    Form1->Siatka1->trigger();
    image = grabView();
    const QImage rivet = krelwin::render::TileSet::builtIn().image(4);
    // Column 1 now starts at x = 28: the ring's rivet tile is drawn there, no line.
    QCOMPARE(image.pixelColor(28, 14), rivet.pixelColor(0, 14));
    QCOMPARE(image.pixelColor(14, 28), rivet.pixelColor(14, 0));
    stopEditor();
}

void TestMapView::marksStayBlackWhenLinesWereNeverDrawn() {
    startEditor();
    Form1->Siatka1->trigger(); // off before the view is ever painted
    QVERIFY(newStage());
    Form1->etap.plansza.at(2, 2) = '>';
    leftClick(2, 2); // selected: transparent pixels show the highlight, the mark stays black
    const QImage image = grabView();
    const QRect cell = Form1->DG1->cellRect(2, 2);
    for (int y = 0; y < 28; ++y)
        QCOMPARE(image.pixelColor(cell.left() + 25, cell.top() + y), QColor(Qt::black));
    QCOMPARE(Form1->DG1->pen().color(), QColor(Qt::black));
    stopEditor();
}

void TestMapView::oneEditedCellRepaintsOneCell() {
    startEditor();
    QVERIFY(newStage());
    leftClick(1, 1);
    QApplication::processEvents();
    std::vector<MapView::Cell> drawn;
    Form1->DG1->setDrawCellHandler([&](int column, int row, const QRect&, int) {
        drawn.push_back({column, row});
        Form1->DG1DrawCell(column, row);
    });
    Form1->etap.plansza.at(7, 8) = '*';
    Form1->RysujPole(7, 8);
    QApplication::processEvents();
    QVERIFY(drawn == (std::vector<MapView::Cell>{{7, 8}}));
    // A fill redraws the cells it wrote (and the view, one paint for all of them).
    select(2, 2, 3, 3);
    QApplication::processEvents();
    drawn.clear();
    Form1->ToolButton3Click();
    QApplication::processEvents();
    QVERIFY(drawn == (std::vector<MapView::Cell>{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
    stopEditor();
}

void TestMapView::narrowedColumnKeepsFullTilesAndItsOwnFill() {
    startEditor();
    QVERIFY(newStage());
    Form1->etap.plansza.at(1, 1) = '*';
    Form1->etap.plansza.at(1, 2) = '>';
    leftClick(10, 10);
    Form1->DG1->setColumnWidth(1, 14);
    const QImage image = grabView();
    const QImage diamond = krelwin::render::TileSet::builtIn().image(1);
    const QRect narrow = Form1->DG1->cellRect(1, 1);
    const QRect next = Form1->DG1->cellRect(2, 1);
    QCOMPARE(next.left(), narrow.left() + 15);
    // The tile is drawn whole over the grid line; the next cell's own fill covers the rest.
    const QPoint onLine(narrow.left() + 14, narrow.top() + 14);
    QCOMPARE(image.pixelColor(onLine), diamond.pixelColor(14, 14));
    QCOMPARE(image.pixelColor(next.left() + 3, next.top() + 14), QColor(Qt::black));
    // The mark follows the column's width: three pixels left of its right edge.
    const QRect below = Form1->DG1->cellRect(1, 2);
    QCOMPARE(image.pixelColor(below.left() + 11, below.top() + 5), Silver);
    stopEditor();
}

QTEST_MAIN(TestMapView)
#include "test_mapview.moc"
