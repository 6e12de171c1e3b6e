// The core's drawing operations on the largest stage (80 x 80): a flood fill of the whole
// interior and the replacement of every cell of one code, each written into the stage and
// reported.
//
//   drawing_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "drawing.h"
#include "generator.h"

#include <benchmark/benchmark.h>

namespace {

using namespace krelwin;

Etap largestStage() {
    Etap etap;
    etap.parametry.Szer = MaxWymiar;
    etap.parametry.Wys = MaxWymiar;
    return etap;
}

// Each run fills the whole interior, swapping between two codes, so that every run changes all
// 6,400 cells.
void BM_FloodFillWholeInterior(benchmark::State& state) {
    Etap etap = largestStage();
    etap.fillInterior(kod::Pusty);
    char tool = kod::Ziemia;
    std::size_t changed = 0;
    for (auto _ : state) {
        changed = floodFill(etap, Pole{40, 40}, tool).size();
        tool = tool == kod::Ziemia ? kod::Pusty : kod::Ziemia;
    }
    state.counters["cells"] = double(changed);
}
BENCHMARK(BM_FloodFillWholeInterior)->Unit(benchmark::kMicrosecond);

// A generated stage (about half earth): every earth cell becomes lava and back.
void BM_ReplaceEveryCellOfOneCode(benchmark::State& state) {
    Etap etap = largestStage();
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 12345;
    GenerujPlansze(etap, zrodlo, DomyslneUdzialy);
    char from = kod::Ziemia;
    char to = kod::LawaRosnaca;
    std::size_t changed = 0;
    for (auto _ : state) {
        changed = replaceCode(etap, from, to).size();
        std::swap(from, to);
    }
    state.counters["cells"] = double(changed);
}
BENCHMARK(BM_ReplaceEveryCellOfOneCode)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
