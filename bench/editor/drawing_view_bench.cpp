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
//     1280 x 800 view at 200 %;
//   - the same stroke through the editor's own window, where the press comes through the
//     window's mouse handler and the release commits through the edit history, whose redraw
//     the release's cells count.
#include "CellRenderer.h"
#include "DrawingModes.h"
#include "EditorState.h"
#include "Forms.h"
#include "MapView.h"
#include "NumberField.h"
#include "ParaEtap.h"
#include "aarys.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int Cells = krelwin::RozmiarPlanszy;

// Sends right-button events to a map view as the window system would, makes the repaint each
// asks for at once, and counts the paints of the viewport and the cells they drew.
class EventCounter : public QObject {
public:
    explicit EventCounter(MapView& view) : view_(view) {}

    long moves = 0;
    long cellsDrawn = 0;
    int mostDrawn = 0;
    int drawnByRelease = 0;

    void press(int column, int row) { send(QEvent::MouseButtonPress, column, row); }
    void release(int column, int row) {
        drawnByRelease = counted(QEvent::MouseButtonRelease, column, row);
    }
    // A move, with the cells its repaint drew counted.
    void moveTo(int column, int row) {
        const int drawn = counted(QEvent::MouseMove, column, row);
        ++moves;
        cellsDrawn += drawn;
        mostDrawn = std::max(mostDrawn, drawn);
    }

    void report(benchmark::State& state) const {
        state.counters["cells_per_move"] = double(cellsDrawn) / double(std::max(1L, moves));
        state.counters["most_cells_per_move"] = mostDrawn;
        state.counters["cells_on_release"] = drawnByRelease;
        state.counters["moves_per_s"] =
            benchmark::Counter(double(moves), benchmark::Counter::kIsRate);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        painted_ = painted_ || event->type() == QEvent::Paint;
        return false;
    }

private:
    void send(QEvent::Type type, int column, int row) {
        const QPoint at = view_.cellRect(column, row).center();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton;
        QMouseEvent event(type, at, view_.viewport()->mapToGlobal(at), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(view_.viewport(), &event);
        QApplication::processEvents();
    }
    // The cells drawn by the repaint the event asked for.
    int counted(QEvent::Type type, int column, int row) {
        view_.viewport()->installEventFilter(this);
        painted_ = false;
        send(type, column, row);
        view_.viewport()->removeEventFilter(this);
        return painted_ ? view_.cellsDrawnByLastPaint() : 0;
    }

    MapView& view_;
    bool painted_ = false;
};

// A view over an empty 80 x 80 stage with the drawing modes on it; edits are just run.
struct DrawingView {
    krelwin::Etap etap;
    MapView view;
    char narzedzie = '+';
    tools::DrawingModes modes;
    EventCounter events{view};

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
};

// A whole stroke per run along row 40, columns 1 to 80, `step` cells a move; the runs paint and
// clear the row in turn, so every stroke changes its cells. The rate counts the moves only but
// its time includes the press and the release, which writes the stroke.
void BM_StrokeAcrossARow(benchmark::State& state) {
    const int step = int(state.range(0));
    const int extent = Cells * (MapView::DefaultCellSize + 1);
    DrawingView drawing(100, QSize(extent, extent));
    for (auto _ : state) {
        drawing.events.press(1, 40);
        for (int column = 1 + step; column <= 80; column += step)
            drawing.events.moveTo(column, 40);
        drawing.events.release(80, 40);
        drawing.narzedzie = drawing.narzedzie == '+' ? '.' : '+';
    }
    drawing.events.report(state);
}
BENCHMARK(BM_StrokeAcrossARow)->Arg(1)->Arg(8)->UseRealTime()->Unit(benchmark::kMillisecond);

// One move of the rectangle's corner per run, held at (1,1): right, down, right, down ... to
// (20,12) and back, each move changing the rectangle by one column or one row.
void BM_RectanglePreviewAt200Percent(benchmark::State& state) {
    DrawingView drawing(200, QSize(1280, 800));
    drawing.modes.setMode(state.range(0) != 0 ? tools::DrawingMode::FilledRectangle
                                              : tools::DrawingMode::Rectangle);
    EventCounter& events = drawing.events;
    events.press(1, 1);
    std::vector<MapView::Cell> path;
    for (MapView::Cell corner{2, 2}; corner.column < 20 || corner.row < 12;) {
        path.push_back(corner);
        (path.size() % 2 != 0 && corner.column < 20) || corner.row == 12 ? ++corner.column
                                                                         : ++corner.row;
    }
    path.insert(path.end(), path.rbegin(), path.rend());
    // The first move after the press also repaints what the press activated; it is not counted.
    events.moveTo(2, 2);
    events.moves = events.cellsDrawn = events.mostDrawn = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        events.moveTo(path[next].column, path[next].row);
        next = (next + 1) % path.size();
    }
    drawing.view.clearPreview();
    events.report(state);
}
BENCHMARK(BM_RectanglePreviewAt200Percent)
    ->ArgName("filled")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// The stroke of BM_StrokeAcrossARow through the editor as the program starts it, on a new
// 80 x 80 stage made through "Nowy" with the whole stage in sight.
void BM_StrokeThroughTheWindow(benchmark::State& state) {
    const int step = int(state.range(0));
    createForms();
    Form1->resize(3000, 2700);
    Form1->show();
    QApplication::processEvents();
    QTimer::singleShot(0, [] {
        Form2->SESzer->setValue(krelwin::MaxWymiar);
        Form2->SEWys->setValue(krelwin::MaxWymiar);
        Form2->accept();
    });
    Form1->Nowy1->trigger();
    QApplication::processEvents();
    EventCounter events(*Form1->DG1);
    for (auto _ : state) {
        Stan->Narzedzie = Stan->Narzedzie == '+' ? '.' : '+';
        events.press(1, 40);
        for (int column = 1 + step; column <= 80; column += step)
            events.moveTo(column, 40);
        events.release(80, 40);
    }
    events.report(state);
    destroyForms();
}
BENCHMARK(BM_StrokeThroughTheWindow)->Arg(1)->Arg(8)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
