// krelwin-stage diff and merge on a pack of 10,000 stages of 80 x 80 (about 66 MB), process
// against process: diff beside cmp of the same two files, merge beside cat of the three.
//
//   pack_diff_bench [--stages=N] [Google Benchmark flags]
//
// The new pack differs from the old one in stage 9,500 (one cell) and in stage 9,000, moved to
// 9,800: cmp reads the two files up to the moved stage, nine tenths of them. The merge takes the
// old pack as the base, the new one as ours and, as theirs, the old one with one cell of stage
// 100 changed; ours is put back and flushed to the disk before every run (not timed), so every
// run writes the whole merged pack through the safe write and flushes it, which cat does not.
// Compare within one run, repetitions interleaved:
//   pack_diff_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
//                   --benchmark_enable_random_interleaving=true
#include "bench_stage.h"
#include "process_run.h"
#include "stage_record.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace krelwin;

int stageCount = 10000;
fs::path folder;

std::string path(const char* name) {
    return (folder / name).string();
}

std::string record(int index, char fill, int changedColumn = 0) {
    Etap etap = benchsupport::benchStage(fill);
    if (changedColumn > 0) {
        etap.plansza.at(changedColumn, 2) = '*';
    }
    std::string text;
    appendRecord(text, "Etap " + std::to_string(index), etap);
    return text;
}

// Stage i of the pack as the three versions hold it: the old one, the new one (ours) and theirs.
enum class Version { Old, New, Theirs };

void writePack(const std::string& file, Version version) {
    const char fills[] = {'+', 'o', '.', '+'};
    const int changed = stageCount * 95 / 100;
    const int moved = stageCount * 90 / 100;
    const int movedTo = stageCount * 98 / 100;
    const int theirs = std::min(100, stageCount / 2);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    const auto stage = [&](int i) {
        const bool changedHere = (version == Version::New && i == changed) ||
                                 (version == Version::Theirs && i == theirs);
        return record(i, fills[i % 4], changedHere ? 40 : 0);
    };
    for (int i = 0; i < stageCount; ++i) {
        if (version == Version::New && i == moved) {
            continue;
        }
        out << stage(i);
        if (version == Version::New && i == movedTo) {
            out << stage(moved);
        }
    }
}

void timeCommand(benchmark::State& state, const std::vector<std::string>& command, int status = 0) {
    for (auto _ : state) {
        if (!benchsupport::runToEnd(command, status)) {
            benchsupport::reportFailure(state, "failed: " + command[0] + " " + command[1]);
            return;
        }
    }
}

void BM_DiffCommand(benchmark::State& state) {
    timeCommand(state, {KRELWIN_STAGE_PATH, "diff", path("old.map"), path("new.map")}, 1);
}
BENCHMARK(BM_DiffCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Cmp(benchmark::State& state) {
    timeCommand(state, {"cmp", "-s", path("old.map"), path("new.map")}, 1);
}
BENCHMARK(BM_Cmp)->Unit(benchmark::kMillisecond)->UseRealTime();

// Ours as it was before the last merge, already on the disk: a flush of the merge's own file
// must not also wait for the copy's bytes.
void putOursBack() {
    fs::copy_file(path("new.map"), path("ours.map"), fs::copy_options::overwrite_existing);
    const int fd = ::open(path("ours.map").c_str(), O_RDONLY);
    ::fsync(fd);
    ::close(fd);
}

void BM_MergeCommand(benchmark::State& state) {
    const std::vector<std::string> command{KRELWIN_STAGE_PATH, "merge", path("old.map"),
                                           path("ours.map"), path("theirs.map")};
    for (auto _ : state) {
        state.PauseTiming();
        putOursBack();
        state.ResumeTiming();
        if (!benchsupport::runToEnd(command)) {
            benchsupport::reportFailure(state, "failed: krelwin-stage merge");
            return;
        }
    }
}
BENCHMARK(BM_MergeCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatThree(benchmark::State& state) {
    timeCommand(state, {"cat", path("old.map"), path("new.map"), path("theirs.map")});
}
BENCHMARK(BM_CatThree)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--stages=", 9) == 0) {
            stageCount = std::max(10, std::atoi(argv[i] + 9));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    benchmark::Initialize(&argc, argv);
    folder = fs::temp_directory_path() / ("krelwin-pack-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    writePack(path("old.map"), Version::Old);
    writePack(path("new.map"), Version::New);
    writePack(path("theirs.map"), Version::Theirs);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(folder);
    return benchsupport::anyFailed ? 1 : 0;
}
