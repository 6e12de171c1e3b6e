// The editor's start to a shown, idle window against a bare QMainWindow with a menu bar built
// against the same Qt, process against process. Both are ended by exit_when_idle, which the
// benchmark loads into them with LD_PRELOAD, the moment their window has been painted and their
// event loop waits for input. Run under the X server to be measured, interleaved:
//   editor_start_bench --benchmark_repetitions=20 --benchmark_enable_random_interleaving=true
//                      --benchmark_report_aggregates_only=true
#include "../process_run.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void timeStart(benchmark::State& state, const char* program) {
    for (auto _ : state) {
        if (!benchsupport::runToEnd({program})) {
            benchsupport::reportFailure(state, std::string("failed: ") + program);
            return;
        }
    }
}

void BM_EditorStart(benchmark::State& state) {
    timeStart(state, KRELWIN_EDITOR_PATH);
}
BENCHMARK(BM_EditorStart)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareWindowStart(benchmark::State& state) {
    timeStart(state, KRELWIN_BARE_WINDOW_PATH);
}
BENCHMARK(BM_BareWindowStart)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    // Only the programs started get it: this one is loaded already.
    setenv("LD_PRELOAD", KRELWIN_EXIT_WHEN_IDLE_PATH, 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return benchsupport::anyFailed ? 1 : 0;
}
