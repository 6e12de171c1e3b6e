// Loading, replacing and moving stages in a file of 10,000 stages of 80 x 80 (about 66 MB),
// measured beside a plain read of the same file into memory and a plain copy of it; loading every
// stage in one pass; the peak heap of a replace on a small and on the large file; the listing of a
// file with a name of 10 MB.
//
//   stage_file_bench [--stages=N] [Google Benchmark flags]
//
// The machine's other work shifts these figures from minute to minute; compare them within one
// run, with repetitions interleaved:
//   stage_file_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//                    --benchmark_enable_random_interleaving=true
#include "bench_stage.h"
#include "stage_file.h"
#include "stage_record.h"
#include "stage_sequence.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace krelwin;
using benchsupport::benchStage;

// Heap in use and its peak, counted by the replaced global operator new and delete below.
std::atomic<std::size_t> heapInUse{0};
std::atomic<std::size_t> heapPeak{0};

int stageCount = 10000;
fs::path folder;
std::string bigFile;   // stageCount stages
std::string smallFile; // 100 stages
constexpr int SmallStageCount = 100;

void writeStageFile(const std::string& path, int stages) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const char fills[] = {'+', 'o', '.', '*'};
    std::string record;
    for (int i = 0; i < stages; ++i) {
        record.clear();
        appendRecord(record, "Etap " + std::to_string(i), benchStage(fills[i % 4]));
        out << record;
    }
}

std::size_t fileSize(const std::string& path) {
    return fs::file_size(path);
}

void BM_PlainRead(benchmark::State& state) {
    std::string content;
    for (auto _ : state) {
        const int fd = ::open(bigFile.c_str(), O_RDONLY);
        content.resize(fileSize(bigFile));
        std::size_t got = 0;
        while (got < content.size()) {
            const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(content.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileSize(bigFile)));
}

// A read and write copy into a new file in the same folder, as a user's copy would make it.
void plainCopy(const std::string& target, bool sync) {
    const int in = ::open(bigFile.c_str(), O_RDONLY);
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    static char block[256 * 1024];
    for (;;) {
        const ssize_t n = ::read(in, block, sizeof block);
        if (n <= 0 || ::write(out, block, static_cast<std::size_t>(n)) != n) {
            break;
        }
    }
    if (sync) {
        ::fsync(out);
    }
    ::close(in);
    ::close(out);
}

void copyIntoNewFiles(benchmark::State& state, bool sync) {
    const std::string target = (folder / "copy.map").string();
    for (auto _ : state) {
        state.PauseTiming();
        ::unlink(target.c_str());
        state.ResumeTiming();
        plainCopy(target, sync);
    }
    ::unlink(target.c_str());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileSize(bigFile)));
}

void BM_PlainCopy(benchmark::State& state) {
    copyIntoNewFiles(state, false);
}

// The replace syncs its new content to the disk before the rename, so it is also set beside a
// copy that does the same.
void BM_PlainCopyWithSync(benchmark::State& state) {
    copyIntoNewFiles(state, true);
}

// The least any durable replace of the file costs on this disk: the same copy into a new file
// beside it, synced, renamed over the file and the folder synced, the old file's space freed,
// with no stage logic at all. The replace's own work is what it takes beyond this.
void BM_PlainDurableReplace(benchmark::State& state) {
    const std::string target = (folder / "replaced.map").string();
    const std::string temporary = (folder / ".replaced.map.new").string();
    plainCopy(target, false);
    for (auto _ : state) {
        plainCopy(temporary, true);
        ::rename(temporary.c_str(), target.c_str());
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        ::fsync(dir);
        ::close(dir);
    }
    ::unlink(target.c_str());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileSize(bigFile)));
}

void BM_LoadLastStage(benchmark::State& state) {
    Etap etap;
    for (auto _ : state) {
        CzytajEtap(bigFile, stageCount - 1, etap);
        benchmark::DoNotOptimize(etap);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileSize(bigFile)));
}

// Every stage in one pass, as render --all reads them, before any picture is drawn.
void BM_LoadEveryStage(benchmark::State& state) {
    for (auto _ : state) {
        long loaded = 0;
        forEachStage(bigFile, [&](int, const Etap& etap) {
            benchmark::DoNotOptimize(etap);
            ++loaded;
        });
        benchmark::DoNotOptimize(loaded);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileSize(bigFile)));
}

void BM_ReplaceMiddleStage(benchmark::State& state) {
    const Etap etap = benchStage('o');
    for (auto _ : state) {
        ZapiszEtap(bigFile, "Etap srodkowy", stageCount / 2, etap);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileSize(bigFile)));
}

// Moving the first stage to the end: a walk of the whole file for the stage's place and one
// copy of it, against the durable replace above, which is the least any such write costs.
void BM_MoveFirstToLast(benchmark::State& state) {
    for (auto _ : state) {
        moveStage(bigFile, 0, stageCount - 1);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fileSize(bigFile)));
}

// Peak heap of one replace of the middle stage, on the small and on the large file: it must not
// grow with the file.
void BM_ReplacePeakHeap(benchmark::State& state) {
    const bool large = state.range(0) != 0;
    const std::string& path = large ? bigFile : smallFile;
    const int middle = (large ? stageCount : SmallStageCount) / 2;
    const Etap etap = benchStage('*');
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t base = heapInUse.load();
        heapPeak = base;
        ZapiszEtap(path, "Etap srodkowy", middle, etap);
        peak = std::max(peak, heapPeak.load() - base);
    }
    state.counters["file_MB"] = static_cast<double>(fileSize(path)) / 1e6;
    state.counters["peak_heap_KiB"] = static_cast<double>(peak) / 1024.0;
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["maxrss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Listing a file whose first stage has a name of 10 MB, followed by ordinary stages: the time
// must stay that of a read, and the peak heap a small multiple of the name (the list holds it).
void BM_ListHugeName(benchmark::State& state) {
    const std::string path = (folder / "huge-name.map").string();
    constexpr std::size_t NameSize = 10 << 20;
    {
        std::string content;
        appendRecord(content, std::string(NameSize, 'n'), benchStage('+'));
        for (int i = 0; i < 10; ++i) {
            appendRecord(content, "Etap " + std::to_string(i), benchStage('o'));
        }
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t base = heapInUse.load();
        heapPeak = base;
        benchmark::DoNotOptimize(CzytajListeEtapow(path));
        peak = std::max(peak, heapPeak.load() - base);
    }
    state.counters["peak_heap_per_name"] = static_cast<double>(peak) / NameSize;
    fs::remove(path);
}

int parseStageCount(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--stages=", 9) == 0) {
            stageCount = std::max(SmallStageCount, std::atoi(argv[i] + 9));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return stageCount;
}

} // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size + sizeof(std::max_align_t));
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(p) = size;
    const std::size_t now = heapInUse += size;
    std::size_t peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(p) + sizeof(std::max_align_t);
}

// The block came from malloc in operator new above; the compiler cannot see the pairing.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    if (p == nullptr) {
        return;
    }
    void* block = static_cast<char*>(p) - sizeof(std::max_align_t);
    heapInUse -= *static_cast<std::size_t*>(block);
    std::free(block);
}
#pragma GCC diagnostic pop

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

BENCHMARK(BM_PlainRead)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopyWithSync)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDurableReplace)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLastStage)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadEveryStage)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceMiddleStage)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveFirstToLast)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListHugeName)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplacePeakHeap)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    parseStageCount(argc, argv);
    benchmark::Initialize(&argc, argv);
    folder = fs::temp_directory_path() / ("krelwin-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    bigFile = (folder / "big.map").string();
    smallFile = (folder / "small.map").string();
    writeStageFile(bigFile, stageCount);
    writeStageFile(smallFile, SmallStageCount);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(folder);
    return 0;
}
