// Painting a range of grid cells the way the map view paints them, on any QPainter: per row the
// black cells and their grid lines, then for each cell the highlight fill when it is selected,
// the painter's brush set to the cell's fill colour, and the caller's drawing of the cell.
#pragma once

#include "CellGrid.h"

#include <QBrush>
#include <QColor>
#include <QRegion>

#include <functional>
#include <optional>

class QPainter;

namespace krelwin::render {

QColor gridLineColor();   // silver, also the direction marks' colour while lines are shown
QColor backgroundColor(); // black

struct CellPaint {
    QPoint offset;                      // the content point that lies at the painter's (0,0)
    QRegion region;                     // in painter coordinates; cells outside it are skipped
    std::optional<CellRange> selection; // cells filled with the highlight brush
    QBrush highlight;
};

// Draws one cell into `rect` (painter coordinates) with the painter's brush as its fill colour.
using CellDrawer = std::function<void(int column, int row, const QRect& rect, bool selected)>;

// Paints `cells` of `grid`. Images are scaled without smoothing, so that on a high-density
// device each tile pixel becomes a solid block; the painter's pen is left to the caller.
void paintCells(QPainter& painter, const CellGrid& grid, const CellRange& cells,
                const CellPaint& paint, const CellDrawer& drawCell);

} // namespace krelwin::render
