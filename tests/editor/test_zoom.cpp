// The view's scale: the "Skala widoku" submenu and Ctrl + wheel, the cells under presses at
// every scale, the pixels of tiles, marks, lines and the selection at 200 % and 25 %, dragged
// column widths, and edits that repaint only their cells at every scale. Positions are counted
// from the written-down sizes: cells of 7, 14, 28 and 56 pixels with grid lines of 1, 1, 1 and 2.
#include "EditorFixture.h"

#include <QScrollBar>
#include <QWheelEvent>

using namespace fixture;

namespace {

struct Size {
    int cell;  // a cell's side on the screen
    int pitch; // from one cell to the next, the grid line included
};

Size sizeAt(int percent) {
    switch (percent) {
    case 25:
        return {7, 8};
    case 50:
        return {14, 15};
    case 200:
        return {56, 58};
    default:
        return {28, 29};
    }
}

QAction* scaleItem(const QString& caption) {
    for (QAction* item : Form1->Skalawidoku1->actions())
        if (item->text() == caption)
            return item;
    return nullptr;
}

QStringList checkedScaleItems() {
    QStringList checked;
    for (QAction* item : Form1->Skalawidoku1->actions())
        if (item->isChecked())
            checked << item->text();
    return checked;
}

void chooseScale(int percent) {
    QAction* item = scaleItem(QStringLiteral("%1 %").arg(percent));
    QVERIFY(item != nullptr);
    item->trigger();
    QApplication::processEvents();
}

// The view scrolled to its top-left corner, which the menu's zoom about the middle moves away.
void scrollHome() {
    Form1->DG1->horizontalScrollBar()->setValue(0);
    Form1->DG1->verticalScrollBar()->setValue(0);
}

// The viewport point `within` the cell (pixels from its top-left corner), from the sizes and
// the scroll bars.
QPoint pointIn(int column, int row, QPoint within, int percent) {
    const int pitch = sizeAt(percent).pitch;
    return QPoint(column * pitch, row * pitch) + within -
           QPoint(Form1->DG1->horizontalScrollBar()->value(),
                  Form1->DG1->verticalScrollBar()->value());
}

void wheel(QPoint at, int turn, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QWidget* port = Form1->DG1->viewport();
    QWheelEvent event(QPointF(at), QPointF(port->mapToGlobal(at)), QPoint(), QPoint(0, turn),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(port, &event);
}

QImage grabView() {
    Form1->DG1->repaintAll();
    QApplication::processEvents();
    return Form1->DG1->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A tile pixel as it shows over the black fill: its own colour, or black where transparent.
QRgb overBlack(QRgb pixel) {
    return qAlpha(pixel) == 0 ? qRgb(0, 0, 0) : (pixel | 0xff000000u);
}

void addScaleRows() {
    QTest::addColumn<int>("percent");
    for (const int percent : {25, 50, 100, 200})
        QTest::newRow(qPrintable(QStringLiteral("%1 %").arg(percent))) << percent;
}

} // namespace

class TestZoom : public QObject {
    Q_OBJECT

private slots:
    void init() { startEditor(); }
    void cleanup() { stopEditor(); }

    void scaleMenuBelowTheGeneratorWithOneCheckedItem() {
        const QList<QAction*> opcje = Form1->Opcje1->actions();
        QCOMPARE(opcje.size(), 3);
        QCOMPARE(opcje[1], Form1->Generator1);
        QCOMPARE(opcje[2], Form1->Skalawidoku1->menuAction());
        QCOMPARE(opcje[2]->text(), QStringLiteral("Skala widoku"));
        QVERIFY(opcje[2]->isEnabled());
        QStringList captions;
        for (QAction* item : Form1->Skalawidoku1->actions()) {
            QVERIFY(item->isCheckable());
            captions << item->text();
        }
        QCOMPARE(captions, QStringList({"25 %", "50 %", "100 %", "200 %"}));
        QCOMPARE(checkedScaleItems(), QStringList{"100 %"});
        QVERIFY(newStage());
        // 100 % is the view as it always is: 28-pixel cells, 1-pixel lines.
        QCOMPARE(Form1->DG1->cellRect(1, 1), QRect(29, 29, 28, 28));
        chooseScale(25);
        QCOMPARE(checkedScaleItems(), QStringList{"25 %"});
        QCOMPARE(Form1->DG1->cellRect(1, 1), QRect(8, 8, 7, 7));
    }

    void ctrlWheelStepsThroughTheScales() {
        QVERIFY(newStage(40, 30));
        const QPoint mouse = pointIn(3, 2, QPoint(14, 14), 100);
        wheel(mouse, 120);
        QCOMPARE(checkedScaleItems(), QStringList{"200 %"});
        // Zooming in keeps the cell under the mouse there.
        QCOMPARE(Form1->DG1->cellAt(mouse), (MapView::Cell{3, 2}));
        wheel(mouse, 120); // the largest stays
        QCOMPARE(Form1->DG1->scalePercent(), 200);
        for (const char* expected : {"100 %", "50 %", "25 %", "25 %"}) {
            wheel(mouse, -120);
            QCOMPARE(checkedScaleItems(), QStringList{expected});
        }
        wheel(mouse, 60); // half a notch, then the other half: one step
        QCOMPARE(Form1->DG1->scalePercent(), 25);
        wheel(mouse, 60);
        QCOMPARE(checkedScaleItems(), QStringList{"50 %"});
        wheel(mouse, 120, Qt::NoModifier); // the wheel alone never zooms
        QCOMPARE(Form1->DG1->scalePercent(), 50);
        wheel(mouse, 60); // half a notch, then a whole one back: the half is dropped
        wheel(mouse, -120);
        QCOMPARE(checkedScaleItems(), QStringList{"25 %"});
    }

    // Left presses select and set the current cell, a right press paints (here on the grid line
    // after the cell, which belongs to it), a double-click turns: all on the cell under the
    // mouse, near the stage's far corner so that the view is scrolled.
    void pressesReachTheCellUnderTheMouse_data() { addScaleRows(); }
    void pressesReachTheCellUnderTheMouse() {
        QFETCH(int, percent);
        const Size size = sizeAt(percent);
        QVERIFY(newStage(40, 30));
        chooseScale(percent);
        Form1->DG1->setCurrentColumn(40);
        Form1->DG1->setCurrentRow(30);
        QWidget* port = Form1->DG1->viewport();
        const QPoint first(0, 0);
        const QPoint inner(size.cell - 2, size.cell - 2); // the last pixel grabs the border

        QTest::mouseClick(port, Qt::LeftButton, {}, pointIn(38, 28, first, percent));
        QCOMPARE(Form1->DG1->currentCell(), (MapView::Cell{38, 28}));
        QTest::mouseClick(port, Qt::LeftButton, Qt::ShiftModifier, pointIn(39, 29, inner, percent));
        const MapView::Selection s = Form1->DG1->selection();
        QCOMPARE(QRect(QPoint(s.left, s.top), QPoint(s.right, s.bottom)), QRect(38, 28, 2, 2));

        QTest::mouseClick(port, Qt::LeftButton, {}, pointIn(37, 27, inner, percent));
        QTest::mouseClick(Form1->ToolButtons[1], Qt::LeftButton); // "Diament"
        const QPoint onLine(size.pitch - 1, size.cell / 2);
        QTest::mouseClick(port, Qt::RightButton, {}, pointIn(36, 27, onLine, percent));
        QCOMPARE(cells({{35, 27}, {36, 27}, {37, 27}, {36, 26}, {36, 28}}), QString(".*..."));

        Stan->etap.plansza.at(40, 30) = '>';
        const QPoint creature = pointIn(40, 30, QPoint(1, size.cell / 2), percent);
        QTest::mouseClick(port, Qt::LeftButton, {}, creature);
        QTest::mouseDClick(port, Qt::LeftButton, {}, creature);
        QCOMPARE(cell(40, 30), '^');
    }

    // Every tile pixel becomes a 2x2 block at 200 %; at 25 % each screen pixel is one pixel of
    // the 4x4 block it stands for, never a blend. The ">" mark, the grid line after the cell
    // and a selected cell's highlight cover their scaled places.
    void tilesMarksLinesAndSelection_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<QList<int>>("markColumns"); // pixels from the cell's left edge
        QTest::newRow("200 %") << 200 << QList<int>{50, 51};
        QTest::newRow("25 %") << 25 << QList<int>{6};
    }
    void tilesMarksLinesAndSelection() {
        QFETCH(int, percent);
        QFETCH(QList<int>, markColumns);
        const Size size = sizeAt(percent);
        const int factor = percent == 200 ? 2 : 4; // screen pixels per tile pixel, or back
        QVERIFY(newStage());
        Stan->etap.plansza.at(2, 1) = '*';
        Stan->etap.plansza.at(3, 1) = '>';
        chooseScale(percent);
        scrollHome();
        QTest::mouseClick(Form1->DG1->viewport(), Qt::LeftButton, {},
                          pointIn(2, 3, QPoint(1, 1), percent));
        QTest::mouseClick(Form1->DG1->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          pointIn(3, 3, QPoint(1, 1), percent));
        const QImage view = grabView();
        const QImage diamond =
            QImage(QStringLiteral(":/tiles/tile01.xpm")).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(diamond.size(), QSize(28, 28));

        const QPoint origin = pointIn(2, 1, {}, percent);
        int exact = 0;
        for (int y = 0; y < size.cell; ++y)
            for (int x = 0; x < size.cell; ++x) {
                const QRgb shown = view.pixel(origin + QPoint(x, y));
                QList<QRgb> allowed;
                if (percent == 200)
                    allowed << overBlack(diamond.pixel(x / factor, y / factor));
                else
                    for (int d = 0; d < factor * factor; ++d)
                        allowed << overBlack(
                            diamond.pixel(x * factor + d % factor, y * factor + d / factor));
                if (!allowed.contains(shown))
                    QFAIL(qPrintable(QString("tile pixel %1,%2").arg(x).arg(y)));
                exact += allowed.count(allowed.first()) == allowed.size();
            }
        QVERIFY(exact > size.cell); // enough solid blocks, whose colour is certain

        const QRgb silver = qRgb(192, 192, 192);
        const QPoint butterfly = pointIn(3, 1, {}, percent);
        for (const int x : markColumns)
            for (int y = 0; y < size.cell; ++y)
                QCOMPARE(view.pixel(butterfly + QPoint(x, y)), silver);
        QVERIFY(view.pixel(butterfly + QPoint(markColumns.first() - 1, size.cell / 2)) != silver);
        for (int x = size.cell; x < size.pitch; ++x) // the grid line after the butterfly
            QCOMPARE(view.pixel(butterfly + QPoint(x, size.cell / 2)), silver);

        const QRgb highlight =
            Form1->DG1->palette().color(QPalette::Active, QPalette::Highlight).rgb();
        const QPoint selected = pointIn(3, 3, {}, percent); // not the current cell
        for (int y = 0; y < size.cell; ++y)
            for (int x = 0; x < size.cell; ++x)
                if (view.pixel(selected + QPoint(x, y)) != highlight)
                    QFAIL(qPrintable(QString("selected pixel %1,%2").arg(x).arg(y)));
    }

    // A column widened by dragging at 200 % is as wide at full size as the drag was long at it,
    // and keeps that width at every scale.
    void draggedColumnWidthsScale() {
        QVERIFY(newStage());
        chooseScale(200);
        scrollHome();
        QWidget* port = Form1->DG1->viewport();
        const QPoint border = pointIn(3, 1, QPoint(56, 20), 200); // the line after column 3
        QTest::mousePress(port, Qt::LeftButton, {}, border);
        QTest::mouseMove(port, border + QPoint(20, 0));
        QTest::mouseRelease(port, Qt::LeftButton, {}, border + QPoint(20, 0));
        QCOMPARE(Form1->DG1->columnWidth(3), 38);
        const auto widthOnScreen = [] { return Form1->DG1->cellRect(3, 1).width(); };
        QCOMPARE(widthOnScreen(), 76);
        QTest::mouseClick(Form1->ToolButtons[1], Qt::LeftButton); // "Diament"
        QTest::mouseClick(port, Qt::RightButton, {}, pointIn(3, 1, QPoint(70, 20), 200));
        QCOMPARE(cells({{3, 1}, {4, 1}}), QString("*."));
        chooseScale(100);
        QCOMPARE(widthOnScreen(), 38);
        chooseScale(25);
        QCOMPARE(widthOnScreen(), 9);
    }

    // A painted cell repaints itself and, as the press sets the current cell again, the edge of
    // its neighbours; undoing the paint repaints that one cell. At every scale.
    void editsRepaintOnlyTheirCells_data() { addScaleRows(); }
    void editsRepaintOnlyTheirCells() {
        QFETCH(int, percent);
        QVERIFY(newStage());
        chooseScale(percent);
        scrollHome();
        QTest::mouseClick(Form1->ToolButtons[1], Qt::LeftButton); // "Diament"
        const QPoint at = pointIn(5, 4, QPoint(2, 2), percent);
        QTest::mouseClick(Form1->DG1->viewport(), Qt::LeftButton, {}, at);
        const auto painted = cellsDrawnBy(
            [&] { QTest::mouseClick(Form1->DG1->viewport(), Qt::RightButton, {}, at); });
        QCOMPARE(cell(5, 4), '*');
        QVERIFY(std::find(painted.begin(), painted.end(), MapView::Cell{5, 4}) != painted.end());
        for (const MapView::Cell drawn : painted)
            QVERIFY(std::abs(drawn.column - 5) <= 1 && std::abs(drawn.row - 4) <= 1);
        const auto undone = cellsDrawnBy([] { Form1->Cofnij1->trigger(); });
        QCOMPARE(cell(5, 4), '.');
        QVERIFY(undone == (std::vector<MapView::Cell>{{5, 4}}));
    }
};

QTEST_MAIN(TestZoom)
#include "test_zoom.moc"
