// The map view while the right button draws on the largest stage (80 x 80): each mouse move
// is sent to the view as the window system sends it and the repaint it asks for is made at
// once, so a run's time per event (real time, not just the processor's) is what one move costs
// the user. Counters give the cells
// drawn per move event (the repaint should draw only the cells whose look changed) and the
// moves per second the view keeps up with.
//
//   - a stroke of "Pędzel" across the 80 cells of a row, at 100 % with the whole stage on the
//     view, the pointer moving 1 or 8 cells per event;
//   - the preview of a rectangle (outline, filled) whose corner walks back and forth across a
//     1280 x 800 view at 200 %.
#include "CellRenderer.h"
#include "DrawingModes.h"
#include "MapView.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int Cells = krelwin::RozmiarPlanszy;

// A view over an empty 80 x 80 stage with the drawing modes on it; edits are just run. It counts
// the paints of its viewport and the cells they drew.
struct DrawingView : QObject {
    krelwin::Etap etap;
    MapView view;
    char narzedzie = '+';
    tools::DrawingModes modes;
    long moves = 0;
    long cellsDrawn = 0;
    int mostDrawn = 0;

    DrawingView(int percent, QSize size)
        : modes({etap, view, [this] { return narzedzie; },
                 [](const tools::Edit& edit) { return edit(); }},
                &view) {
        etap.parametry.Szer = krelwin::MaxWymiar;
        etap.parametry.Wys = krelwin::MaxWymiar;
        etap.clearInterior();
        view.setColumnCount(Cells);
        view.setRowCount(Cells);
        view.setScalePercent(percent);
        view.setDrawCellHandler([this](QPainter& canvas, int column, int row, const QRect& r) {
            krelwin::render::drawCell(canvas, view.tiles(), etap.plansza.at(column, row), r);
        });
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setFrameStyle(0);
        view.resize(size);
        view.show();
        QObject::connect(&view, &MapView::mousePressed, &modes,
                         [this](Qt::MouseButton, Qt::KeyboardModifiers keys, QPoint at) {
                             modes.press(view.cellAt(at), keys);
                         });
        QApplication::processEvents();
    }

    // Sends the event as the window system would and makes the repaint it asked for.
    void send(QEvent::Type type, int column, int row) {
        const QPoint at = view.cellRect(column, row).center();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton;
        QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
        QApplication::processEvents();
    }

    void press(int column, int row) { send(QEvent::MouseButtonPress, column, row); }
    void release(int column, int row) { send(QEvent::MouseButtonRelease, column, row); }
    // A move, with the cells its repaint drew counted.
    void moveTo(int column, int row) {
        view.viewport()->installEventFilter(this);
        painted_ = false;
        send(QEvent::MouseMove, column, row);
        view.viewport()->removeEventFilter(this);
        const int drawn = painted_ ? view.cellsDrawnByLastPaint() : 0;
        ++moves;
        cellsDrawn += drawn;
        mostDrawn = std::max(mostDrawn, drawn);
    }

    void report(benchmark::State& state) const {
        state.counters["cells_per_move"] = double(cellsDrawn) / double(std::max(1L, moves));
        state.counters["most_cells_per_move"] = mostDrawn;
        state.counters["moves_per_s"] =
            benchmark::Counter(double(moves), benchmark::Counter::kIsRate);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        painted_ = painted_ || event->type() == QEvent::Paint;
        return false;
    }

private:
    bool painted_ = false;
};

// A whole stroke per run along row 40, columns 1 to 80, `step` cells a move; the runs paint and
// clear the row in turn, so every stroke changes its cells. The rate counts the moves only but
// its time includes the press and the release, which writes the stroke.
void BM_StrokeAcrossARow(benchmark::State& state) {
    const int step = int(state.range(0));
    const int extent = Cells * (MapView::DefaultCellSize + 1);
    DrawingView drawing(100, QSize(extent, extent));
    for (auto _ : state) {
        drawing.press(1, 40);
        for (int column = 1 + step; column <= 80; column += step)
            drawing.moveTo(column, 40);
        drawing.release(80, 40);
        drawing.narzedzie = drawing.narzedzie == '+' ? '.' : '+';
    }
    drawing.report(state);
}
BENCHMARK(BM_StrokeAcrossARow)->Arg(1)->Arg(8)->UseRealTime()->Unit(benchmark::kMillisecond);

// One move of the rectangle's corner per run, held at (1,1): right, down, right, down ... to
// (20,12) and back, each move changing the rectangle by one column or one row.
void BM_RectanglePreviewAt200Percent(benchmark::State& state) {
    DrawingView drawing(200, QSize(1280, 800));
    drawing.modes.setMode(state.range(0) != 0 ? tools::DrawingMode::FilledRectangle
                                              : tools::DrawingMode::Rectangle);
    drawing.press(1, 1);
    std::vector<MapView::Cell> path;
    for (MapView::Cell corner{2, 2}; corner.column < 20 || corner.row < 12;) {
        path.push_back(corner);
        (path.size() % 2 != 0 && corner.column < 20) || corner.row == 12 ? ++corner.column
                                                                         : ++corner.row;
    }
    path.insert(path.end(), path.rbegin(), path.rend());
    // The first move after the press also repaints what the press activated; it is not counted.
    drawing.moveTo(2, 2);
    drawing.moves = drawing.cellsDrawn = drawing.mostDrawn = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        drawing.moveTo(path[next].column, path[next].row);
        next = (next + 1) % path.size();
    }
    drawing.view.clearPreview();
    drawing.report(state);
}
BENCHMARK(BM_RectanglePreviewAt200Percent)
    ->ArgName("filled")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
