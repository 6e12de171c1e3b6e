// The history behind "Cofnij" and "Ponów" in the real main window, on an 80 x 80 stage:
//   - a paint and its undo, with the cells each redraws;
//   - a generator run and its undo, with the view at the window's first size (0) and with the
//     whole stage in sight (1), where the repaint weighs most;
//   - the heap the history holds after 10,000 single-cell paints and after 100 generator runs,
//     as the growth of the heap in use (mallinfo2), with the editor's limit of steps (0) and
//     with no limit (1).
// On a shared machine run the timings interleaved:
//   --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
#include "EditorState.h"
#include "FileWorkflow.h"
#include "Forms.h"
#include "MapView.h"
#include "NumberField.h"
#include "ParaEtap.h"
#include "aarys.h"
#include "generator.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

constexpr int Side = krelwin::MaxWymiar;

std::size_t heapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The editor as the program starts it, with a new 80 x 80 stage made through "Nowy".
class Editor {
public:
    explicit Editor(bool wholeStageInSight) {
        createForms();
        if (wholeStageInSight)
            Form1->resize(3000, 2600);
        Form1->show();
        QApplication::processEvents();
        QTimer::singleShot(0, [] {
            Form2->SESzer->setValue(Side);
            Form2->SEWys->setValue(Side);
            Form2->accept();
        });
        Form1->Nowy1->trigger();
        QApplication::processEvents();
        Form1->DG1->setDrawCellHandler(
            [](QPainter& canvas, int column, int row, const QRect& rect) {
                ++drawnCells;
                Form1->DG1DrawCell(canvas, column, row, rect);
            });
    }
    ~Editor() { destroyForms(); }

    // A right click on the cell, brought into sight first, with the given tool: the brush
    // writes the cell on the release.
    static void paint(int column, int row, char tool) {
        Stan->Narzedzie = tool;
        Form1->DG1->setCurrentRow(row);
        Form1->DG1->setCurrentColumn(column);
        const QPoint at = Form1->DG1->cellRect(column, row).center();
        for (const auto& [type, held] : {std::pair(QEvent::MouseButtonPress, Qt::RightButton),
                                         std::pair(QEvent::MouseButtonRelease, Qt::NoButton)}) {
            QMouseEvent event(type, at, Form1->DG1->viewport()->mapToGlobal(at), Qt::RightButton,
                              held, Qt::NoModifier);
            QApplication::sendEvent(Form1->DG1->viewport(), &event);
        }
    }

    // "Generator map" after its dialog, as one step of the history like the menu command.
    static void generate() { Form1->generujMape(krelwin::DomyslneUdzialy); }

    static inline long drawnCells = 0;
};

// The paint itself, for comparison with its undo.
void BM_PaintOneCell(benchmark::State& state) {
    Editor editor(false);
    char tool = '*';
    for (auto _ : state) {
        tool = tool == '*' ? '+' : '*';
        Editor::paint(5, 5, tool);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PaintOneCell)->Unit(benchmark::kMicrosecond);

void BM_UndoOnePaint(benchmark::State& state) {
    Editor editor(false);
    long drawn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Editor::paint(5, 5, '*');
        QApplication::processEvents();
        Editor::drawnCells = 0;
        state.ResumeTiming();
        Form1->Cofnij1->trigger();
        QApplication::processEvents();
        drawn += Editor::drawnCells;
    }
    state.counters["cells_redrawn"] =
        benchmark::Counter(double(drawn), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_UndoOnePaint)->Unit(benchmark::kMicrosecond);

void BM_GeneratorRun(benchmark::State& state) {
    Editor editor(state.range(0) != 0);
    for (auto _ : state) {
        Editor::generate();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_GeneratorRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_UndoGeneratorRun(benchmark::State& state) {
    Editor editor(state.range(0) != 0);
    Editor::generate();
    QApplication::processEvents();
    for (auto _ : state) {
        Form1->Cofnij1->trigger();
        QApplication::processEvents();
        state.PauseTiming();
        Form1->Ponw1->trigger();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoGeneratorRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Fills the history by `steps` calls of `step` and reports the heap it took.
void measureHistory(benchmark::State& state, int steps, const std::function<void(int)>& step) {
    for (auto _ : state) {
        Editor editor(false);
        if (state.range(0) != 0)
            Workflow->history().stack().setUndoLimit(
                0); // none: the stage was new, the history is empty
        QApplication::processEvents();
        const std::size_t before = heapInUse();
        for (int i = 0; i < steps; ++i) {
            step(i);
            if (i % 100 == 99)
                QApplication::processEvents();
        }
        QApplication::processEvents();
        const double bytes = double(heapInUse() - before);
        state.counters["steps_kept"] = Workflow->history().stack().count();
        state.counters["history_MB"] = bytes / 1e6;
        state.counters["bytes_per_step"] = bytes / Workflow->history().stack().count();
    }
}

// Each paint changes its cell: the interior is walked cell by cell, "*" on the first pass and
// "+" on the second.
void BM_HistoryAfter10000Paints(benchmark::State& state) {
    measureHistory(state, 10000, [](int i) {
        const int cell = i % (Side * Side);
        Editor::paint(1 + cell % Side, 1 + cell / Side, i < Side * Side ? '*' : '+');
    });
}
BENCHMARK(BM_HistoryAfter10000Paints)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_HistoryAfter100GeneratorRuns(benchmark::State& state) {
    measureHistory(state, 100, [](int) { Editor::generate(); });
}
BENCHMARK(BM_HistoryAfter100GeneratorRuns)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
