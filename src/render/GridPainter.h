// Painting a range of grid cells the way the map view paints them, on any QPainter: per row the
// black cells and their grid lines, then for each cell the highlight fill when it is selected,
// the painter's brush set to the cell's fill colour, and the caller's drawing of the cell. All
// at the grid's scale.
#pragma once

#include "CellGrid.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QRegion>

#include <functional>
#include <optional>

class QPainter;

namespace krelwin::render {

QColor gridLineColor();   // silver, also the direction marks' colour while lines are shown
QColor backgroundColor(); // black

// One row of black cells with their grid lines, as wide as the grid's content: laid under a
// row's cells in one copy. It changes with the columns, the line width and the scale only.
QImage rowBandOf(const CellGrid& grid);

struct CellPaint {
    QPoint offset;                      // the content point that lies at the painter's (0,0)
    QRegion region;                     // in painter coordinates; cells outside it are skipped
    std::optional<CellRange> selection; // cells filled with the highlight brush
    QBrush highlight;
    const QImage* rowBand = nullptr; // rowBandOf(grid) kept by the caller; null: made here
};

// Draws one cell into `rect` (painter coordinates) with the painter's brush as its fill colour.
using CellDrawer = std::function<void(int column, int row, const QRect& rect, bool selected)>;

// Paints `cells` of `grid`. Images are scaled without smoothing, so that on a high-density
// device each tile pixel becomes a solid block; the painter's pen is left to the caller.
void paintCells(QPainter& painter, const CellGrid& grid, const CellRange& cells,
                const CellPaint& paint, const CellDrawer& drawCell);

} // namespace krelwin::render
