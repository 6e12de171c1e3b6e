// krelwin-stage at the speed of the shell, process against process: "--help" beside /bin/true
// and "list" of the sample pack beside cat of the same file. The program loads no Qt, so each
// pair should be close; compare within one run, repetitions interleaved:
//   stage_start_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
//                     --benchmark_enable_random_interleaving=true
#include "process_run.h"

#include <benchmark/benchmark.h>

namespace {

void timeCommand(benchmark::State& state, const std::vector<std::string>& command) {
    for (auto _ : state) {
        if (!benchsupport::runToEnd(command)) {
            benchsupport::reportFailure(state, "failed: " + command[0]);
            return;
        }
    }
}

void BM_StageHelp(benchmark::State& state) {
    timeCommand(state, {KRELWIN_STAGE_PATH, "--help"});
}
BENCHMARK(BM_StageHelp)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_True(benchmark::State& state) {
    timeCommand(state, {"/bin/true"});
}
BENCHMARK(BM_True)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_StageListSample(benchmark::State& state) {
    timeCommand(state, {KRELWIN_STAGE_PATH, "list", KRELWIN_SAMPLE_PACK});
}
BENCHMARK(BM_StageListSample)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_CatSample(benchmark::State& state) {
    timeCommand(state, {"cat", KRELWIN_SAMPLE_PACK});
}
BENCHMARK(BM_CatSample)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return benchsupport::anyFailed ? 1 : 0;
}
