#include "StagePicture.h"

#include "CellRenderer.h"
#include "GridPainter.h"
#include "PictureColours.h"

#include <QPainter>

#include <array>
#include <cstring>

namespace krelwin::render {

namespace {

// One cell as the picture shows it, followed by its grid lines when there are any: painted by
// the map view's painter on a grid of that one cell, so that it holds exactly the pixels the
// view gives a cell of that code.
QImage cellBlock(char code, const PictureOptions& options) {
    const CellGrid oneCell(1, 1, options.grid ? 1 : 0);
    const TileSet& tiles = TileSet::builtIn();
    QImage block(oneCell.contentWidth(), oneCell.contentHeight(), QImage::Format_RGB32);
    QPainter painter(&block);
    painter.setPen(QPen(gridLineColor(), 1));
    const CellPaint paint{{}, QRegion(block.rect()), std::nullopt, {}};
    paintCells(painter, oneCell, CellRange{0, 0, 0, 0}, paint,
               [&](int, int, const QRect& rect, bool) { drawCell(painter, tiles, code, rect); });
    return block;
}

// The cell blocks of the codes the stage holds, on the picture's colours and at its scale;
// each in RGB32 should a colour fall outside them.
class CellBlocks {
public:
    CellBlocks(const Etap& etap, int columns, int rows, const PictureOptions& options) {
        static const QList<QRgb> palette = pictureColours(TileSet::builtIn());
        bool indexed = true;
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                QImage& block = blocks_[static_cast<unsigned char>(etap.plansza.at(column, row))];
                if (block.isNull()) {
                    block = cellBlock(etap.plansza.at(column, row), options);
                    const QImage onPalette = indexedIn(block, palette);
                    indexed = indexed && !onPalette.isNull();
                    block = onPalette.isNull() ? block : onPalette;
                }
            }
        }
        for (QImage& block : blocks_) {
            if (!block.isNull()) {
                block = enlarged(indexed ? block : block.convertToFormat(QImage::Format_RGB32),
                                 options.scale);
            }
        }
    }

    const QImage& of(char code) const { return blocks_[static_cast<unsigned char>(code)]; }

private:
    std::array<QImage, 256> blocks_;
};

} // namespace

// A stage's cells never overlap in a picture (the grid keeps every column at a tile's width), so
// the picture is the tiling of its cells' blocks, each drawn once per code: copying their rows
// costs a fraction of painting every cell, and the picture is made on the few colours at once,
// a quarter of the memory of a 32-bit one.
QImage pictureOfStage(const Etap& etap, const PictureOptions& options) {
    // Kept within the cell array whatever the parameters hold.
    const int columns = ZakresSzer.clamp(etap.parametry.Szer) + 2;
    const int rows = ZakresWys.clamp(etap.parametry.Wys) + 2;
    const CellBlocks blocks(etap, columns, rows, options);
    const QImage& sample = blocks.of(etap.plansza.at(0, 0));
    const int blockWidth = sample.width();
    const int blockHeight = sample.height();
    QImage picture(columns * blockWidth, rows * blockHeight, sample.format());
    if (picture.isNull())
        return picture;
    picture.setColorTable(sample.colorTable());
    const qsizetype rowBytes = blockWidth * sample.depth() / 8;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QImage& block = blocks.of(etap.plansza.at(column, row));
            for (int y = 0; y < blockHeight; ++y)
                std::memcpy(picture.scanLine(row * blockHeight + y) + column * rowBytes,
                            block.constScanLine(y), std::size_t(rowBytes));
        }
    }
    return picture;
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
