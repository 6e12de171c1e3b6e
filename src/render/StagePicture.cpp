#include "StagePicture.h"

#include "CellRenderer.h"
#include "GridPainter.h"
#include "PictureColours.h"

#include <QPainter>

#include <array>
#include <cstring>
#include <map>
#include <utility>

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

// The blocks of one kind of picture (grid or not, scale), each drawn when a picture first needs
// it and kept: a pack's pictures, or an overview's, then cost one drawing per code in all. One
// set per thread, so that pictures can be made on several at once.
class CellBlocks {
public:
    explicit CellBlocks(const PictureOptions& options) : options_(options) {}

    // Whether the cell's block can be put on the picture's colours.
    bool onPalette(char code) { return !indexed(code).isNull(); }
    // The block at the picture's scale: on the picture's colours, or else in RGB32.
    const QImage& block(char code, bool onPalette) {
        const auto index = static_cast<unsigned char>(code);
        QImage& scaled = onPalette ? scaledIndexed_[index] : scaledRgb_[index];
        if (scaled.isNull()) {
            scaled = onPalette ? enlarged(indexed(code), options_.scale)
                               : enlarged(painted(code), options_.scale);
        }
        return scaled;
    }

private:
    const QImage& painted(char code) {
        QImage& block = painted_[static_cast<unsigned char>(code)];
        if (block.isNull())
            block = cellBlock(code, options_);
        return block;
    }
    const QImage& indexed(char code) {
        const auto index = static_cast<unsigned char>(code);
        if (!indexedTried_[index]) {
            static const QList<QRgb> palette = pictureColours(TileSet::builtIn());
            indexed_[index] = indexedIn(painted(code), palette);
            indexedTried_[index] = true;
        }
        return indexed_[index];
    }

    PictureOptions options_;
    std::array<QImage, 256> painted_;
    std::array<QImage, 256> indexed_;
    std::array<bool, 256> indexedTried_{};
    std::array<QImage, 256> scaledIndexed_;
    std::array<QImage, 256> scaledRgb_;
};

CellBlocks& cellBlocksFor(const PictureOptions& options) {
    thread_local std::map<std::pair<bool, int>, CellBlocks> blocks;
    return blocks.try_emplace({options.grid, options.scale}, options).first->second;
}

} // namespace

// A stage's cells never overlap in a picture (the grid keeps every column at a tile's width), so
// the picture is the tiling of its cells' blocks: copying their rows costs a fraction of
// painting every cell, and the picture is made on the few colours at once, a quarter of the
// memory of a 32-bit one.
QImage pictureOfStage(const Etap& etap, const PictureOptions& options) {
    // Kept within the cell array whatever the parameters hold.
    const int columns = ZakresSzer.clamp(etap.parametry.Szer) + 2;
    const int rows = ZakresWys.clamp(etap.parametry.Wys) + 2;
    CellBlocks& blocks = cellBlocksFor(options);
    std::array<bool, 256> present{};
    bool onPalette = true;
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            const char code = etap.plansza.at(column, row);
            if (!std::exchange(present[static_cast<unsigned char>(code)], true))
                onPalette = onPalette && blocks.onPalette(code);
        }
    }
    const QImage& sample = blocks.block(etap.plansza.at(0, 0), onPalette);
    const int blockWidth = sample.width();
    const int blockHeight = sample.height();
    QImage picture(columns * blockWidth, rows * blockHeight, sample.format());
    if (picture.isNull())
        return picture;
    picture.setColorTable(sample.colorTable());
    const qsizetype rowBytes = blockWidth * sample.depth() / 8;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QImage& block = blocks.block(etap.plansza.at(column, row), onPalette);
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
