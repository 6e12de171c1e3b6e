// The status line's counts on an 80 x 80 stage: counting the whole interior once (a load, a new
// size) against keeping the counts up to date through one painted cell, which is what every
// edit costs them.
#include "cell_counts.h"
#include "generator.h"
#include "interior_counter.h"

#include <benchmark/benchmark.h>

namespace {

krelwin::Etap generatedStage() {
    krelwin::Etap etap;
    etap.parametry.Szer = krelwin::MaxWymiar;
    etap.parametry.Wys = krelwin::MaxWymiar;
    krelwin::ZrodloLosowe zrodlo{12345};
    krelwin::GenerujPlansze(etap, zrodlo, krelwin::DomyslneUdzialy);
    return etap;
}

void BM_CountWholeStage(benchmark::State& state) {
    const krelwin::Etap etap = generatedStage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(krelwin::countCells(etap));
    }
}

void BM_CounterOneCellPainted(benchmark::State& state) {
    krelwin::Etap etap = generatedStage();
    krelwin::InteriorCounter counter(etap);
    int column = 1;
    int row = 1;
    for (auto _ : state) {
        // The same step as the editor's: the counts follow the paint of one cell.
        char& cell = etap.plansza.at(column, row);
        const char painted = cell == '*' ? '+' : '*';
        counter.cellChanged(column, row, cell, painted);
        cell = painted;
        benchmark::DoNotOptimize(counter.counts().of('*'));
        column = column % krelwin::MaxWymiar + 1;
        row = column == 1 ? row % krelwin::MaxWymiar + 1 : row;
    }
}

} // namespace

BENCHMARK(BM_CountWholeStage);
BENCHMARK(BM_CounterOneCellPainted);
BENCHMARK_MAIN();
