#include "GridPainter.h"

#include <QPainter>

namespace krelwin::render {

QColor gridLineColor() {
    return {192, 192, 192};
}

QColor backgroundColor() {
    return Qt::black;
}

namespace {

void paintGridLines(QPainter& painter, const CellGrid& grid, const CellRange& cells,
                    QPoint offset) {
    const int top = cells.top * grid.rowPitch() - offset.y();
    const int bottom = (cells.bottom + 1) * grid.rowPitch() - offset.y();
    const int left = grid.columnLeft(cells.left) - offset.x();
    const int right = grid.columnLeft(cells.right + 1) - offset.x();
    for (int column = cells.left; column <= cells.right; ++column) {
        const int x = grid.columnLeft(column + 1) - 1 - offset.x();
        painter.fillRect(x, top, 1, bottom - top, gridLineColor());
    }
    for (int row = cells.top; row <= cells.bottom; ++row) {
        const int y = (row + 1) * grid.rowPitch() - 1 - offset.y();
        painter.fillRect(left, y, right - left, 1, gridLineColor());
    }
}

void paintRowBand(QPainter& painter, const CellGrid& grid, int row, const QRect& area,
                  QPoint offset) {
    const QRect band(-offset.x(), row * grid.rowPitch() - offset.y(), grid.contentWidth(),
                     grid.rowPitch());
    const QRect visible = band & area;
    if (!visible.isEmpty())
        painter.drawImage(visible.topLeft(), grid.rowBand(), visible.translated(-band.topLeft()));
}

} // namespace

void paintCells(QPainter& painter, const CellGrid& grid, const CellRange& cells,
                const CellPaint& paint, const CellDrawer& drawCell) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // While no tile reaches into the next cell, a row's black and grid lines can be laid in one
    // copy of the prepared row band before its cells: the pixels are the same as with the lines
    // first and each cell filled in turn, at a fraction of the cost.
    const bool bandPerRow = grid.tilesStayInTheirCells();
    if (!bandPerRow && grid.lineWidth() == 1)
        paintGridLines(painter, grid, cells, paint.offset);
    const QBrush background(backgroundColor());
    painter.setBrush(background);
    bool brushIsHighlight = false;
    const QRect area = paint.region.boundingRect();
    // A region of one rectangle (a whole repaint, one cell) meets every cell in the range.
    const bool everyCellMeets = paint.region.rectCount() == 1;
    for (int row = cells.top; row <= cells.bottom; ++row) {
        if (bandPerRow)
            paintRowBand(painter, grid, row, area, paint.offset);
        const int top = row * grid.rowPitch() - paint.offset.y();
        for (int column = cells.left; column <= cells.right; ++column) {
            const QRect rect(grid.columnLeft(column) - paint.offset.x(), top,
                             grid.columnWidth(column), CellHeight);
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
