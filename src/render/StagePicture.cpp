#include "StagePicture.h"

#include "CellRenderer.h"
#include "GridPainter.h"
#include "PictureColours.h"

#include <QPainter>

namespace krelwin::render {

QImage pictureOfStage(const Etap& etap, const PictureOptions& options) {
    // Kept within the cell array whatever the parameters hold.
    const int columns = ZakresSzer.clamp(etap.parametry.Szer) + 2;
    const int rows = ZakresWys.clamp(etap.parametry.Wys) + 2;
    const CellGrid grid(columns, rows, options.grid ? 1 : 0);
    const TileSet& tiles = TileSet::builtIn();
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
    static const QList<QRgb> palette = pictureColours(tiles);
    const QImage indexed = indexedIn(picture, palette);
    return enlarged(indexed.isNull() ? picture : indexed, options.scale);
}

namespace {

template <typename Pixel> void repeatPixels(const QImage& source, QImage& result, int factor) {
    for (int y = 0; y < result.height(); ++y) {
        const auto* from = reinterpret_cast<const Pixel*>(source.constScanLine(y / factor));
        auto* to = reinterpret_cast<Pixel*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            to[x] = from[x / factor];
    }
}

} // namespace

// Not QImage::scaled with Qt::FastTransformation: its fixed-point sampling drifts at factors
// that are not powers of two (Qt 6.4 puts columns of a 754-pixel picture one source pixel off
// at 3, 5, 6 and 7), where this must repeat each pixel exactly.
QImage enlarged(const QImage& image, int factor) {
    if (factor <= 1)
        return image;
    const bool indexed = image.format() == QImage::Format_Indexed8;
    const QImage source = indexed ? image : image.convertToFormat(QImage::Format_RGB32);
    QImage result(source.width() * factor, source.height() * factor, source.format());
    if (result.isNull())
        return result;
    result.setColorTable(source.colorTable());
    if (indexed)
        repeatPixels<uchar>(source, result, factor);
    else
        repeatPixels<QRgb>(source, result, factor);
    return result;
}

} // namespace krelwin::render
