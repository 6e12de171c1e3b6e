#include "StageMiniature.h"

#include "CellRenderer.h"
#include "GridPainter.h"

#include <QPainter>

namespace krelwin::render {

QImage miniatureOfStage(const Etap& etap, QSize box) {
    // Scaled once, and then only read: threads may share it.
    static const TileSet tiles = TileSet::builtIn().scaled(Scale(MiniatureScale));
    const int columns = ZakresSzer.clamp(etap.parametry.Szer) + 2;
    const int rows = ZakresWys.clamp(etap.parametry.Wys) + 2;
    const CellGrid grid(columns, rows, 0, Scale(MiniatureScale));
    QImage picture(grid.contentWidth(), grid.contentHeight(), QImage::Format_RGB32);
    {
        QPainter painter(&picture);
        painter.setPen(QPen(gridLineColor(), 1));
        const CellPaint paint{{}, QRegion(picture.rect()), std::nullopt, {}};
        paintCells(painter, grid, CellRange{0, 0, columns - 1, rows - 1}, paint,
                   [&](int column, int row, const QRect& rect, bool) {
                       drawCell(painter, tiles, etap.plansza.at(column, row), rect);
                   });
    }
    const QSize fitted = picture.size().scaled(box, Qt::KeepAspectRatio).expandedTo({1, 1});
    if (fitted.width() >= picture.width())
        return picture;
    return picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace krelwin::render
