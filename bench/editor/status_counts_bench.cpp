// The stage's counts in the status line on an 80 x 80 stage: a one-cell paint through the edit
// history with the counts following it (the label's text changing every time, its worst case,
// and the label repainted) beside the same paint with nothing following it, and a whole stage
// counted anew (a load, a generator run) for comparison.
// On a shared machine run them interleaved:
//   --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
#include "EditorState.h"
#include "FileWorkflow.h"
#include "MessageBoxDialogue.h"
#include "StageCounts.h"
#include "editing.h"

#include <QApplication>
#include <QLabel>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Stage {
    EditorState stan;
    MessageBoxDialogue dialogue;
    FileWorkflow workflow{stan, dialogue};
    QLabel label;
    std::unique_ptr<StageCounts> counts;

    explicit Stage(bool counted) {
        krelwin::ParametryEtapu parametry;
        parametry.Szer = parametry.Wys = krelwin::MaxWymiar;
        workflow.start({parametry, QStringLiteral("Etap 01")});
        stan.etap.fillInterior('+');
        if (counted) {
            counts = std::make_unique<StageCounts>(workflow, &label);
            label.show(); // as in the status bar once a file is open
            QApplication::processEvents();
        }
    }

    void paint(char code) {
        workflow.history().recordCellEdit([&] {
            const krelwin::Pole pole{40, 40};
            krelwin::paintCell(stan.etap, pole, code);
            return krelwin::ZapisanePola{pole};
        });
    }
};

// Arg 1: the counts follow; 0: nothing does.
void BM_OneCellPaint(benchmark::State& state) {
    Stage stage(state.range(0) == 1);
    bool diamond = false;
    for (auto _ : state) {
        diamond = !diamond;
        stage.paint(diamond ? '*' : '+');
        QApplication::processEvents(); // the label repainted
    }
}
BENCHMARK(BM_OneCellPaint)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_StageCountedAnew(benchmark::State& state) {
    Stage stage(true);
    for (auto _ : state)
        stage.stan.announceStageReplaced();
}
BENCHMARK(BM_StageCountedAnew)->Unit(benchmark::kMicrosecond);

} // namespace
