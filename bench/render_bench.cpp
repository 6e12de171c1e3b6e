// Pictures of stages, process against process: krelwin-stage render of an 80 x 80 stage beside
// Tiled's tmxrasterizer on the same 82 x 82 map of 28-pixel tiles (where it is installed) and
// beside a plain RGBA PNG save of the same picture; render --all of packs of 1,000 and 10,000
// stages, whose time per stage should not grow with the pack. The png_bytes counters give the
// size of each picture written.
//
//   render_bench [Google Benchmark flags]
//
// Compare within one run, repetitions interleaved:
//   render_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//                --benchmark_enable_random_interleaving=true
#include "StagePicture.h"
#include "TileSet.h"
#include "generator.h"
#include "process_run.h"
#include "stage_record.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace krelwin;

fs::path folder;

Etap generatedStage(int szer, int wys, uint32_t seed) {
    Etap etap;
    etap.parametry.Szer = szer;
    etap.parametry.Wys = wys;
    ZrodloLosowe source;
    source.Ziarno = seed;
    GenerujPlansze(etap, source, DomyslneUdzialy);
    etap.plansza.at(1, 1) = 'S';
    etap.plansza.at(szer, wys) = 'W';
    return etap;
}

std::string file(const std::string& name) {
    return (folder / name).string();
}

void writePack(const std::string& path, int stages, int szer, int wys) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string record;
    for (int i = 0; i < stages; ++i) {
        record.clear();
        appendRecord(record, "Etap " + std::to_string(i), generatedStage(szer, wys, uint32_t(i)));
        out << record;
    }
}

// The stage as a Tiled map: the fourteen tiles in one row of a tile sheet, each cell's tile
// by its global id (1 + the tile's index), no tile where the editor draws none.
void writeTiledMap(const Etap& etap) {
    const render::TileSet& tiles = render::TileSet::builtIn();
    QImage sheet(TileCount * render::TileSize, render::TileSize, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    {
        QPainter painter(&sheet);
        for (int index = 0; index < TileCount; ++index)
            painter.drawImage(index * render::TileSize, 0, tiles.image(index));
    }
    sheet.save(QString::fromStdString(file("tiles.png")));
    const int size = etap.parametry.Szer + 2;
    std::ofstream out(file("stage.tmx"), std::ios::trunc);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\""
        << size << "\" height=\"" << size
        << "\" tilewidth=\"28\" tileheight=\"28\" infinite=\"0\" nextlayerid=\"2\" "
           "nextobjectid=\"1\">\n"
        << " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"28\" tileheight=\"28\" "
           "tilecount=\""
        << TileCount << "\" columns=\"" << TileCount << "\">\n"
        << "  <image source=\"tiles.png\" width=\"" << sheet.width() << "\" height=\"28\"/>\n"
        << " </tileset>\n <layer id=\"1\" name=\"stage\" width=\"" << size << "\" height=\"" << size
        << "\">\n  <data encoding=\"csv\">\n";
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const int tile = tileImageOf(etap.plansza.at(column, row));
            out << (tile >= 0 && tile < TileCount ? tile + 1 : 0)
                << (row + 1 == size && column + 1 == size ? "\n" : ",");
        }
    }
    out << "</data>\n </layer>\n</map>\n";
}

void timeCommand(benchmark::State& state, const std::vector<std::string>& command,
                 const std::string& picture) {
    for (auto _ : state) {
        if (!benchsupport::runToEnd(command)) {
            benchsupport::reportFailure(state, "failed: " + command[0]);
            return;
        }
    }
    state.counters["png_bytes"] = double(fs::file_size(picture));
}

void BM_RenderCommand(benchmark::State& state) {
    timeCommand(state, {KRELWIN_STAGE_PATH, "render", file("stage.map"), "0", file("render.png")},
                file("render.png"));
}
BENCHMARK(BM_RenderCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TmxRasterizer(benchmark::State& state) {
    timeCommand(state, {"tmxrasterizer", file("stage.tmx"), file("tiled.png")}, file("tiled.png"));
}
BENCHMARK(BM_TmxRasterizer)->Unit(benchmark::kMillisecond)->UseRealTime();

// The picture drawn once; only the save of it as a 32-bit RGBA PNG is timed.
void BM_SaveRgbaPng(benchmark::State& state) {
    const QImage picture =
        render::pictureOfStage(generatedStage(80, 80, 1)).convertToFormat(QImage::Format_ARGB32);
    const QString path = QString::fromStdString(file("rgba.png"));
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.save(path, "PNG"));
    state.counters["png_bytes"] = double(fs::file_size(path.toStdString()));
}
BENCHMARK(BM_SaveRgbaPng)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderAll(benchmark::State& state) {
    const int stages = int(state.range(0));
    const std::string pack = file("pack" + std::to_string(stages) + ".map");
    writePack(pack, stages, 18, 10);
    for (auto _ : state) {
        if (!benchsupport::runToEnd({KRELWIN_STAGE_PATH, "render", pack, "--all", file("all")})) {
            benchsupport::reportFailure(state, "render --all failed");
            return;
        }
    }
    state.counters["per_stage"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_RenderAll)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    folder = fs::temp_directory_path() / ("krelwin-render-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const Etap stage = generatedStage(80, 80, 1);
    std::string record;
    appendRecord(record, "Etap 01", stage);
    std::ofstream(file("stage.map"), std::ios::binary) << record;
    writeTiledMap(stage);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(folder);
    return benchsupport::anyFailed ? 1 : 0;
}
