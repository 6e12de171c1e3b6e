#include "GridPainter.h"

#include <QPainter>

#include <algorithm>

namespace krelwin::render {

QColor gridLineColor() {
    return {192, 192, 192};
}

QColor backgroundColor() {
    return Qt::black;
}

QImage rowBandOf(const CellGrid& grid) {
    QImage band(std::max(1, grid.contentWidth()), grid.rowPitch(), QImage::Format_RGB32);
    band.fill(backgroundColor());
    const int line = grid.linePixels();
    if (line == 0)
        return band;
    QPainter painter(&band);
    for (int column = 0; column < grid.columnCount(); ++column)
        painter.fillRect(grid.columnLeft(column + 1) - line, 0, line, grid.rowPitch(),
                         gridLineColor());
    painter.fillRect(0, grid.cellHeight(), grid.contentWidth(), line, gridLineColor());
    return band;
}

namespace {

void paintGridLines(QPainter& painter, const CellGrid& grid, const CellRange& cells,
                    QPoint offset) {
    const int line = grid.linePixels();
    const int top = cells.top * grid.rowPitch() - offset.y();
    const int bottom = (cells.bottom + 1) * grid.rowPitch() - offset.y();
    const int left = grid.columnLeft(cells.left) - offset.x();
    const int right = grid.columnLeft(cells.right + 1) - offset.x();
    for (int column = cells.left; column <= cells.right; ++column) {
        const int x = grid.columnLeft(column + 1) - line - offset.x();
        painter.fillRect(x, top, line, bottom - top, gridLineColor());
    }
    for (int row = cells.top; row <= cells.bottom; ++row) {
        const int y = (row + 1) * grid.rowPitch() - line - offset.y();
        painter.fillRect(left, y, right - left, line, gridLineColor());
    }
}

void paintRowBand(QPainter& painter, const CellGrid& grid, const QImage& rowBand, int row,
                  const QRect& area, QPoint offset) {
    const QRect band(-offset.x(), row * grid.rowPitch() - offset.y(), grid.contentWidth(),
                     grid.rowPitch());
    const QRect visible = band & area;
    if (!visible.isEmpty())
        painter.drawImage(visible.topLeft(), rowBand, visible.translated(-band.topLeft()));
}

} // namespace

void paintCells(QPainter& painter, const CellGrid& grid, const CellRange& cells,
                const CellPaint& paint, const CellDrawer& drawCell) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // While no tile reaches into the next cell, a row's black and grid lines can be laid in one
    // copy of the prepared row band before its cells: the pixels are the same as with the lines
    // first and each cell filled in turn, at a fraction of the cost.
    const bool bandPerRow = grid.tilesStayInTheirCells();
    QImage ownBand;
    if (bandPerRow && paint.rowBand == nullptr)
        ownBand = rowBandOf(grid);
    const QImage& rowBand = paint.rowBand != nullptr ? *paint.rowBand : ownBand;
    if (!bandPerRow && grid.linePixels() > 0)
        paintGridLines(painter, grid, cells, paint.offset);
    const QBrush background(backgroundColor());
    painter.setBrush(background);
    bool brushIsHighlight = false;
    const QRect area = paint.region.boundingRect();
    // A region of one rectangle (a whole repaint, one cell) meets every cell in the range.
    const bool everyCellMeets = paint.region.rectCount() == 1;
    for (int row = cells.top; row <= cells.bottom; ++row) {
        if (bandPerRow)
            paintRowBand(painter, grid, rowBand, row, area, paint.offset);
        const int top = row * grid.rowPitch() - paint.offset.y();
        for (int column = cells.left; column <= cells.right; ++column) {
            const QRect rect(grid.columnLeft(column) - paint.offset.x(), top,
                             grid.columnPixels(column), grid.cellHeight());
            if (!everyCellMeets && !paint.region.intersects(rect))
                continue;
            const bool selected = paint.selection && paint.selection->contains(column, row);
            // The brush is the drawer's fill colour; it is set only when it changes, as this
            // runs for every cell.
            if (selected != brushIsHighlight) {
                painter.setBrush(selected ? paint.highlight : background);
                brushIsHighlight = selected;
            }
            if (selected || !bandPerRow)
                painter.fillRect(rect, painter.brush());
            drawCell(column, row, rect, selected);
        }
    }
}

} // namespace krelwin::render
