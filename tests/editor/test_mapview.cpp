// The map view and its cells: selections, the pixels of tiles, marks, highlight and grid lines
// on the grabbed view, the repaint of one cell, and the picture the render command writes
// agreeing with the view pixel for pixel.
#include "EditorFixture.h"

#include "CellRenderer.h"
#include "StagePicture.h"
#include "TileSet.h"

#include <QPainter>
#include <QSignalSpy>

using namespace fixture;
using krelwin::render::TileSet;

namespace {

const QColor Silver(192, 192, 192);

QImage grabView() {
    Form1->DG1->repaintAll();
    QApplication::processEvents();
    return Form1->DG1->viewport()->grab().toImage();
}

// Counts the paints of the widget it filters.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// A view of 8 x 8 cells, on the screen, whose cells end at x = y = 232.
void showSmallView(MapView& view) {
    view.setColumnCount(8);
    view.setRowCount(8);
    view.resize(400, 300);
    view.show();
}

QRect selectionOf(const MapView& view) {
    const MapView::Selection s = view.selection();
    return QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom));
}

// One code drawn into a 60x40 green image with a blue brush and a red pen.
const QColor Fill(10, 20, 200);
const QColor Mark(250, 0, 0);
QImage drawn(const TileSet& tiles, char code, const QRect& cell) {
    QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    QPainter painter(&image);
    painter.setBrush(Fill);
    painter.setPen(QPen(Mark, 1));
    krelwin::render::drawCell(painter, tiles, code, cell);
    return image;
}

// 18 x 10 with every kind of cell, all four directions of both creatures and a byte outside
// the alphabet ("?"), so that every tile, mark and plain square is compared.
const char* const EveryCell = "(Wszystko)\r\n}\r\n"
                              "18,10,010,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,40,20,"
                              "61,40,05,35,05,10,10,55,\r\n{\r\n"
                              "S+++++o+++++*+++++\r\n<>^v/-|\\.?++++.+++\r\n"
                              "+*+++++++o++++...+\r\n======\"\"\"=====%===\r\n"
                              "++++o++++++++.>..+\r\n+*++o+++++++++...+\r\n"
                              "+++++++#+++~~~++++\r\n.../..+++#+++&&+*+\r\n"
                              "+++++++++#++o+++++\r\n+*+o++++++++++++W+\r\n";

} // namespace

class TestMapView : public QObject {
    Q_OBJECT

private slots:
    void init() { startEditor(); }
    void cleanup() { stopEditor(); }

    void selectionFollowsLeftPressesShiftDragAndKeys() {
        MapView view;
        showSmallView(view);
        QWidget* port = view.viewport();
        const auto at = [&](int column, int row) { return view.cellRect(column, row).center(); };
        QTest::mouseClick(port, Qt::LeftButton, {}, at(5, 5));
        QTest::mouseClick(port, Qt::LeftButton, Qt::ShiftModifier, at(3, 6));
        QCOMPARE(view.currentCell(), (MapView::Cell{5, 5}));
        QCOMPARE(selectionOf(view), QRect(3, 5, 3, 2));
        QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier); // moves the anchor only
        QCOMPARE(selectionOf(view), QRect(3, 5, 3, 1));
        QTest::mouseClick(port, Qt::RightButton, {}, at(1, 1)); // right and middle: no move
        QTest::mouseClick(port, Qt::MiddleButton, {}, at(1, 1));
        QCOMPARE(selectionOf(view), QRect(3, 5, 3, 1));
        QTest::mousePress(port, Qt::LeftButton, {}, at(1, 1));
        QMouseEvent move(QEvent::MouseMove, at(2, 3), port->mapToGlobal(at(2, 3)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(port, &move);
        QTest::mouseRelease(port, Qt::LeftButton, {}, at(2, 3));
        QCOMPARE(view.currentCell(), (MapView::Cell{1, 1}));
        QCOMPARE(selectionOf(view), QRect(1, 1, 2, 3));
        QTest::keyClick(&view, Qt::Key_Left); // an arrow moves both, collapsing the selection
        QCOMPARE(selectionOf(view), QRect(0, 1, 1, 1));
    }

    // A right drag reports each cell it reaches once (the nearest one beyond the grid) and its
    // release; Escape or a left press ends it with a cancel instead, the left press doing
    // nothing else; a middle press on a cell is reported after the press. None moves the
    // selection.
    void rightDragsAndMiddlePressesAreReportedByCell() {
        MapView view;
        showSmallView(view);
        QWidget* port = view.viewport();
        const auto at = [&](int column, int row) { return view.cellRect(column, row).center(); };
        QStringList reports;
        const auto cellText = [](MapView::Cell cell) {
            return QString("%1,%2").arg(cell.column).arg(cell.row);
        };
        connect(&view, &MapView::mousePressed, this,
                [&](Qt::MouseButton button) { reports << QString("press %1").arg(int(button)); });
        connect(&view, &MapView::dragMoved, this,
                [&](auto cell) { reports << "moved " + cellText(cell); });
        connect(&view, &MapView::dragReleased, this,
                [&](auto cell) { reports << "released " + cellText(cell); });
        connect(&view, &MapView::dragCancelled, this, [&] { reports << "cancelled"; });
        connect(&view, &MapView::middlePressed, this,
                [&](auto cell) { reports << "middle " + cellText(cell); });
        QTest::mouseClick(port, Qt::LeftButton, {}, at(5, 5));
        reports.clear();

        QTest::mousePress(port, Qt::RightButton, {}, at(1, 1));
        QVERIFY(view.isDragging());
        QTest::mouseMove(port, at(1, 1) + QPoint(5, 5));
        QTest::mouseMove(port, at(4, 2));
        QTest::mouseMove(port, QPoint(390, at(4, 2).y()));
        QTest::mouseRelease(port, Qt::RightButton, {}, QPoint(390, 290));
        QVERIFY(!view.isDragging());
        QCOMPARE(reports, (QStringList{"press 2", "moved 4,2", "moved 7,2", "released 7,7"}));

        reports.clear();
        QTest::mousePress(port, Qt::RightButton, {}, at(2, 2));
        QTest::mouseMove(port, at(3, 3));
        QTest::keyClick(&view, Qt::Key_Escape);
        QTest::mouseMove(port, at(4, 4));
        QTest::mouseRelease(port, Qt::RightButton, {}, at(4, 4));
        QTest::mousePress(port, Qt::RightButton, {}, at(2, 2));
        QTest::mouseClick(port, Qt::LeftButton, {}, at(6, 6));
        QTest::mouseRelease(port, Qt::RightButton, {}, at(2, 2));
        QTest::mouseClick(port, Qt::MiddleButton, {}, at(3, 4));
        QTest::mouseClick(port, Qt::MiddleButton, {}, QPoint(390, 10)); // no cell there
        QCOMPARE(reports, (QStringList{"press 2", "moved 3,3", "cancelled", "press 2", "cancelled",
                                       "press 4", "middle 3,4", "press 4"}));
        QCOMPARE(selectionOf(view), QRect(5, 5, 1, 1));
    }

    // A preview's cells show their codes' tiles instead of the handler's drawing; a new preview
    // repaints only the cells whose look it changes, and the same preview again none.
    void previewDrawsItsCodesAndRepaintsOnlyWhatChanges() {
        MapView view;
        view.setDrawCellHandler([&](QPainter& canvas, int, int, const QRect& rect) {
            krelwin::render::drawCell(canvas, view.tiles(), '.', rect);
        });
        showSmallView(view);
        QApplication::processEvents();
        PaintCounter counter;
        view.viewport()->installEventFilter(&counter);
        const auto drawnFor = [&](const std::vector<PreviewCell>& preview) {
            view.setPreview(preview);
            QApplication::processEvents();
            return view.cellsDrawnByLastPaint();
        };
        QCOMPARE(drawnFor({{2, 2, '#'}}), 1);
        const QImage rivet = TileSet::builtIn().image(4);
        const QImage shown = view.viewport()->grab().toImage();
        QCOMPARE(shown.pixelColor(view.cellRect(2, 2).topLeft() + QPoint(10, 10)),
                 rivet.pixelColor(10, 10));
        QCOMPARE(shown.pixelColor(view.cellRect(3, 2).topLeft() + QPoint(10, 10)),
                 QColor(Qt::black));
        QCOMPARE(drawnFor({{2, 2, '#'}, {3, 2, '#'}}), 1);
        QCOMPARE(drawnFor({{3, 2, '*'}, {9, 9, '#'}}), 2); // (2,2) goes, (3,2) changes
        const int paints = counter.paints;
        view.setPreview({{3, 2, '*'}});
        QApplication::processEvents();
        QCOMPARE(counter.paints, paints);
        QCOMPARE(view.previewCode(3, 2), std::optional('*'));
        view.setRowCount(9);
        QVERIFY(!view.previewCode(3, 2)); // a new size drops the preview
        view.viewport()->removeEventFilter(&counter);
    }

    void tilesAndMarksFollowTheCellsActualSize_data() {
        QTest::addColumn<char>("code");
        QTest::addColumn<QRect>("cell");
        QTest::addColumn<QRect>("mark");
        const QRect square(2, 3, 28, 28);
        QTest::newRow("left") << '<' << square << QRect(3, 3, 1, 28);
        QTest::newRow("up") << '|' << square << QRect(2, 4, 28, 1);
        QTest::newRow("right") << '>' << square << QRect(27, 3, 1, 28);
        QTest::newRow("down") << '\\' << square << QRect(2, 28, 28, 1);
        QTest::newRow("right, wide column") << '-' << QRect(2, 3, 40, 28) << QRect(39, 3, 1, 28);
        QTest::newRow("no mark for a diamond") << '*' << square << QRect();
    }
    void tilesAndMarksFollowTheCellsActualSize() {
        QFETCH(char, code);
        QFETCH(QRect, cell);
        QFETCH(QRect, mark);
        // Without tile images every code is a plain square of the brush, with its mark.
        const QImage image = drawn(TileSet(TileSet::Images{}), code, cell);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor expected =
                    mark.contains(x, y) ? Mark : (cell.contains(x, y) ? Fill : QColor(Qt::green));
                if (image.pixelColor(x, y) != expected)
                    QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
            }
    }

    void tilesAre28SquareWhateverTheColumn() {
        const TileSet& tiles = TileSet::builtIn();
        const QImage rivet = tiles.image(4);
        QCOMPARE(drawn(tiles, '#', QRect(0, 0, 20, 28)).pixelColor(24, 14),
                 rivet.pixelColor(24, 14));
        const QImage wide = drawn(tiles, '#', QRect(0, 0, 40, 28));
        QCOMPARE(wide.pixelColor(10, 10), rivet.pixelColor(10, 10));
        QCOMPARE(wide.pixelColor(33, 10), QColor(Qt::green)); // the fill is the tile's
        QCOMPARE(drawn(tiles, 'Q', QRect(0, 0, 28, 28)).pixelColor(27, 27), Fill); // no tile
    }

    void highlightShowsThroughATilesTransparency() {
        QVERIFY(newStage());
        const QImage monster = TileSet::builtIn().image(6);
        QPoint transparent(-1, -1);
        QPoint opaque(-1, -1);
        for (int y = 2; y < 25; ++y)
            for (int x = 2; x < 25; ++x)
                (qAlpha(monster.pixel(x, y)) == 0 ? transparent : opaque) = {x, y};
        QVERIFY(transparent.x() >= 0 && opaque.x() >= 0 && qAlpha(monster.pixel(opaque)) == 255);
        Stan->etap.plansza.at(3, 3) = '/';
        Stan->etap.plansza.at(4, 3) = '/';
        leftClick(3, 3);
        const QImage image = grabView();
        const QColor highlight = Form1->DG1->palette().color(QPalette::Active, QPalette::Highlight);
        const QPoint selected = Form1->DG1->cellRect(3, 3).topLeft();
        const QPoint other = Form1->DG1->cellRect(4, 3).topLeft();
        QCOMPARE(image.pixelColor(selected + transparent), highlight);
        QCOMPARE(image.pixelColor(other + transparent), QColor(Qt::black));
        QCOMPARE(image.pixelColor(selected + opaque), monster.pixelColor(opaque));
    }

    void gridLinesOnAndOff() {
        QVERIFY(newStage());
        leftClick(10, 10);
        QImage image = grabView();
        QCOMPARE(Form1->DG1->cellRect(1, 1).topLeft(), QPoint(29, 29));
        QCOMPARE(image.pixelColor(28, 14), Silver); // right of column 0
        QCOMPARE(image.pixelColor(14, 28), Silver); // below row 0
        QCOMPARE(image.pixelColor(29 + 28, 29 + 14), Silver);
        Form1->Siatka1->trigger();
        QVERIFY(!Form1->Siatka1->isChecked());
        image = grabView();
        QCOMPARE(Form1->DG1->cellRect(1, 1).topLeft(), QPoint(28, 28));
        const QImage rivet = TileSet::builtIn().image(4); // the ring's tile, no line
        QCOMPARE(image.pixelColor(28, 14), rivet.pixelColor(0, 14));
        QCOMPARE(image.pixelColor(14, 28), rivet.pixelColor(14, 0));
    }

    void marksStayBlackWhenLinesWereNeverDrawn() {
        Form1->Siatka1->trigger(); // off before the view is ever painted
        QVERIFY(newStage());
        Stan->etap.plansza.at(2, 2) = '>';
        leftClick(2, 2);
        const QImage image = grabView();
        const QRect cell = Form1->DG1->cellRect(2, 2);
        for (int y = 0; y < 28; ++y)
            QCOMPARE(image.pixelColor(cell.left() + 25, cell.top() + y), QColor(Qt::black));
    }

    void oneEditedCellRepaintsOneCell() {
        QVERIFY(newStage());
        leftClick(1, 1);
        QApplication::processEvents();
        std::vector<MapView::Cell> drawn;
        Form1->DG1->setDrawCellHandler(
            [&](QPainter& canvas, int column, int row, const QRect& rect) {
                drawn.push_back({column, row});
                Form1->DG1DrawCell(canvas, column, row, rect);
            });
        PaintCounter counter;
        Form1->DG1->viewport()->installEventFilter(&counter);
        Stan->etap.plansza.at(7, 8) = '*';
        Form1->RysujPole(7, 8);
        QApplication::processEvents();
        QCOMPARE(counter.paints, 1);
        QVERIFY(drawn == (std::vector<MapView::Cell>{{7, 8}}));
        Form1->DG1->viewport()->removeEventFilter(&counter);
    }

    // The generator's notice: drawn over the cells, black on white, in the one paint before
    // the stage is filled, and gone with the next.
    void generationNoticeCoversItsPlaceForOnePaint() {
        QVERIFY(newStage());
        const QString notice = QString::fromUtf8(TForm1::NapisGeneracji);
        const QImage cellsOnly = grabView();
        Form1->DG1->setOverlayText(notice);
        const QImage withNotice = grabView();
        Form1->DG1->setOverlayText(QString());
        QCOMPARE(Form1->DG1->font(), Form1->font());
        const QRect place(QPoint(10, 10), QFontMetrics(Form1->font()).size(0, notice));
        int white = 0;
        int dark = 0;
        for (int y = 0; y < withNotice.height(); ++y)
            for (int x = 0; x < withNotice.width(); ++x) {
                const QColor colour = withNotice.pixelColor(x, y);
                // A glyph may reach a pixel or two past its box.
                if (!place.adjusted(-2, -2, 2, 2).contains(x, y)) {
                    if (colour != cellsOnly.pixelColor(x, y))
                        QFAIL(qPrintable(QString("pixel %1,%2 outside").arg(x).arg(y)));
                    continue;
                }
                white += place.contains(x, y) && colour == Qt::white;
                dark += place.contains(x, y) && colour.lightness() < 64;
            }
        QVERIFY(white > place.width() && dark > place.height());

        QStringList shown; // the overlay while each paint draws cell (1, 1)
        Form1->DG1->setDrawCellHandler(
            [&](QPainter& canvas, int column, int row, const QRect& rect) {
                if (column == 1 && row == 1)
                    shown << Form1->DG1->overlayText();
                Form1->DG1DrawCell(canvas, column, row, rect);
            });
        Form1->generujMape(krelwin::DomyslneUdzialy);
        QApplication::processEvents();
        QCOMPARE(shown, (QStringList{notice, QString()}));
    }

    // The view's current cell (0, 0) is left out: it alone carries the highlight and the focus
    // rectangle, which a picture never has.
    void pictureMatchesTheView_data() {
        QTest::addColumn<bool>("grid");
        QTest::newRow("grid lines") << true;
        QTest::newRow("no grid lines") << false;
    }
    void pictureMatchesTheView() {
        QFETCH(bool, grid);
        QTemporaryDir folder;
        const QString stage = folder.filePath("stage.map");
        writeBytes(stage, EveryCell);
        QVERIFY(newStage(18, 10));
        krelwin::CzytajEtap(native(stage), 0, Stan->etap);
        Form1->resize(900, 700);
        Form1->DG1->setCurrentRow(0);
        Form1->DG1->setCurrentColumn(0);
        if (!grid)
            Form1->Siatka1->trigger();
        const QImage view = grabView().convertToFormat(QImage::Format_RGB32);
        // The picture as the render command writes it, through a PNG file.
        const QString png = folder.filePath("stage.png");
        QVERIFY(krelwin::render::pictureOfStage(loadStage(stage, 0), {grid, 1}).save(png, "PNG"));
        const QImage picture = QImage(png).convertToFormat(QImage::Format_RGB32);
        const int pitch = grid ? 29 : 28;
        QCOMPARE(picture.size(), QSize(20 * pitch, 12 * pitch));
        QVERIFY(view.width() >= picture.width() && view.height() >= picture.height());
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if ((x >= 28 || y >= 28) && view.pixel(x, y) != picture.pixel(x, y))
                    QFAIL(qPrintable(QString("pixel %1,%2 differs").arg(x).arg(y)));
    }
};

QTEST_MAIN(TestMapView)
#include "test_mapview.moc"
