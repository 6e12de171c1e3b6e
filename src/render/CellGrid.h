// The geometry of a grid of stage cells, shared by the map view and off-screen pictures: cells
// 28 pixels high and of their columns' widths, with grid lines of width 0 or 1 between them,
// all shown at a scale. A line belongs to the cell left of or above it, so with lines every
// cell is followed by its line, the last column and row included. Positions and rectangles are
// on the screen, at the scale; column widths and the line width are set at full size.
#pragma once

#include "Scale.h"

#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

namespace krelwin::render {

inline constexpr int CellHeight = 28;
inline constexpr int DefaultColumnWidth = 28;

struct GridCell {
    int column;
    int row;
    bool operator==(const GridCell&) const = default;
};

// Columns left..right and rows top..bottom, both ends included.
struct CellRange {
    int left;
    int top;
    int right;
    int bottom;

    bool contains(int column, int row) const {
        return column >= left && column <= right && row >= top && row <= bottom;
    }
};

class CellGrid {
public:
    CellGrid(int columns, int rows, int lineWidth, Scale scale = Scale());

    int columnCount() const { return int(columnWidths_.size()); }
    int rowCount() const { return rowCount_; }
    int lineWidth() const { return lineWidth_; }
    Scale scale() const { return scale_; }
    void setColumnCount(int columns); // at least 1; new columns get the default width
    void setRowCount(int rows);       // at least 1
    void setLineWidth(int width);     // brought into 0..1
    void setScale(Scale scale);

    // The column's width at full size, as set.
    int columnWidth(int column) const { return columnWidths_.at(column); }
    void setColumnWidth(int column, int width);

    // On the screen, at the scale.
    int cellHeight() const { return scale_.length(CellHeight); }
    int linePixels() const { return lineWidth_ == 0 ? 0 : scale_.thickness(lineWidth_); }
    int columnPixels(int column) const { return scale_.thickness(columnWidth(column)); }
    int columnLeft(int column) const { return columnLefts_.at(column); }
    int rowPitch() const { return cellHeight() + linePixels(); }
    int contentWidth() const { return columnLefts_.back(); }
    int contentHeight() const { return rowCount_ * rowPitch(); }

    // In content coordinates (0,0 = top-left of cell 0,0); right edge = left + column width.
    QRect cellRect(int column, int row) const;
    // The cell under a content point; nothing beyond the last column or row.
    std::optional<GridCell> cellAt(const QPoint& content) const;
    // The cells that an area in content coordinates meets, if any.
    std::optional<CellRange> cellsIn(const QRect& content) const;
    // True while no column is narrower than a tile, so no tile reaches into the next cell.
    bool tilesStayInTheirCells() const;

private:
    void recompute();

    std::vector<int> columnWidths_;
    std::vector<int> columnLefts_; // columnLefts_[c] = left of column c; back() = total width
    int rowCount_;
    int lineWidth_;
    Scale scale_;
};

} // namespace krelwin::render
