#include "StagePicture.h"

#include "CellRenderer.h"
#include "GridPainter.h"

#include <QPainter>

namespace krelwin::render {

QImage pictureOfStage(const Etap& etap, const PictureOptions& options) {
    // Kept within the cell array whatever the parameters hold.
    const int columns = ZakresSzer.clamp(etap.parametry.Szer) + 2;
    const int rows = ZakresWys.clamp(etap.parametry.Wys) + 2;
    const CellGrid grid(columns, rows, options.grid ? 1 : 0);
    QImage picture(grid.contentWidth(), grid.contentHeight(), QImage::Format_RGB32);
    {
        QPainter painter(&picture);
        painter.setPen(QPen(gridLineColor(), 1));
        const TileSet& tiles = TileSet::builtIn();
        const CellPaint paint{{}, QRegion(picture.rect()), std::nullopt, {}};
        paintCells(painter, grid, CellRange{0, 0, columns - 1, rows - 1}, paint,
                   [&](int column, int row, const QRect& rect, bool) {
                       drawCell(painter, tiles, etap.plansza.at(column, row), rect);
                   });
    }
    return enlarged(picture, options.scale);
}

QImage enlarged(const QImage& image, int factor) {
    if (factor <= 1)
        return image;
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    QImage result(source.width() * factor, source.height() * factor, QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y / factor));
        auto* to = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            to[x] = from[x / factor];
    }
    return result;
}

} // namespace krelwin::render
