// A full repaint of the map view at its largest (82 x 82 cells, all visible) against drawing
// the same 6,724 cells with QPainter straight into an image of the view's size: the view's own
// cost (grid lines, the per-cell fill and dispatch) is the difference. On a shared machine run
// them interleaved: --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true
#include "CellRenderer.h"
#include "MapView.h"
#include "TileSet.h"
#include "generator.h"
#include "plansza.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int Cells = krelwin::RozmiarPlanszy;

// The largest stage filled at random, with creatures facing each way.
const krelwin::Etap& largestStage() {
    static const krelwin::Etap etap = [] {
        krelwin::Etap stage;
        stage.parametry.Szer = krelwin::MaxWymiar;
        stage.parametry.Wys = krelwin::MaxWymiar;
        krelwin::ZrodloLosowe zrodlo;
        zrodlo.Ziarno = 12345;
        krelwin::GenerujPlansze(stage, zrodlo, krelwin::DomyslneUdzialy);
        const char creatures[] = {'<', '^', '>', 'v', '/', '|', '-', '\\'};
        for (int i = 0; i < 8; ++i)
            stage.plansza.at(10 + i, 10) = creatures[i];
        return stage;
    }();
    return etap;
}

void BM_MapViewFullRepaint(benchmark::State& state) {
    const krelwin::Etap& etap = largestStage();
    const krelwin::render::TileSet& tiles = krelwin::render::TileSet::builtIn();
    MapView view;
    view.setColumnCount(Cells);
    view.setRowCount(Cells);
    view.setDrawCellHandler([&](QPainter& canvas, int column, int row, const QRect& rect) {
        krelwin::render::drawCell(canvas, tiles, etap.plansza.at(column, row), rect);
    });
    const int extent = Cells * (MapView::DefaultCellSize + 1);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setFrameStyle(0);
    view.resize(extent, extent);
    view.show();
    QApplication::processEvents();
    for (auto _ : state)
        view.viewport()->repaint();
    state.counters["cells"] = Cells * Cells;
}
BENCHMARK(BM_MapViewFullRepaint)->Unit(benchmark::kMillisecond);

void BM_QPainterTilesIntoImage(benchmark::State& state) {
    const krelwin::Etap& etap = largestStage();
    const krelwin::render::TileSet& tiles = krelwin::render::TileSet::builtIn();
    const int pitch = MapView::DefaultCellSize + 1;
    QImage image(Cells * pitch, Cells * pitch, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setBrush(Qt::black);
        painter.setPen(Qt::black);
        for (int row = 0; row < Cells; ++row)
            for (int column = 0; column < Cells; ++column)
                krelwin::render::drawCell(painter, tiles, etap.plansza.at(column, row),
                                          QRect(column * pitch, row * pitch, 28, 28));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["cells"] = Cells * Cells;
}
BENCHMARK(BM_QPainterTilesIntoImage)->Unit(benchmark::kMillisecond);

} // namespace
