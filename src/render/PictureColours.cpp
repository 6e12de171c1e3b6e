#include "PictureColours.h"

#include "GridPainter.h"
#include "TileSet.h"

namespace krelwin::render {

namespace {

constexpr qsizetype MaximumIndexedColours = 256;

void addOpaqueColours(QList<QRgb>& colours, const QImage& tile) {
    const QImage pixels = tile.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            if (qAlpha(line[x]) == 255 && !colours.contains(line[x]))
                colours.append(line[x]);
    }
}

} // namespace

QList<QRgb> pictureColours(const TileSet& tiles) {
    QList<QRgb> colours{backgroundColor().rgb(), gridLineColor().rgb()};
    for (int index = 0; index < TileCount; ++index)
        if (tiles.hasImage(index))
            addOpaqueColours(colours, tiles.image(index));
    return colours;
}

// Written out rather than left to QImage::convertToFormat with a colour table, which gives a
// colour outside the table its nearest neighbour instead of failing, and looks every pixel up
// in a hash; here a run of pixels of one colour, the common case, costs one comparison each.
QImage indexedIn(const QImage& picture, const QList<QRgb>& palette) {
    if (palette.size() > MaximumIndexedColours)
        return {};
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return {};
    indexed.setColorTable(palette);
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* to = indexed.scanLine(y);
        QRgb colour = 0; // never an RGB32 pixel, which is opaque
        qsizetype index = -1;
        for (int x = 0; x < width; ++x) {
            if (from[x] != colour) {
                colour = from[x];
                index = palette.indexOf(colour);
                if (index < 0)
                    return {};
            }
            to[x] = uchar(index);
        }
    }
    return indexed;
}

} // namespace krelwin::render
