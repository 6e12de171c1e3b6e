#include "CellGrid.h"

#include <algorithm>

namespace krelwin::render {

namespace {
constexpr int MinimumColumnWidth = 2;
} // namespace

CellGrid::CellGrid(int columns, int rows, int lineWidth, Scale scale)
    : columnWidths_(std::max(1, columns), DefaultColumnWidth), rowCount_(std::max(1, rows)),
      lineWidth_(std::clamp(lineWidth, 0, 1)), scale_(scale) {
    recompute();
}

void CellGrid::setColumnCount(int columns) {
    columnWidths_.resize(std::max(1, columns), DefaultColumnWidth);
    recompute();
}

void CellGrid::setRowCount(int rows) {
    rowCount_ = std::max(1, rows);
    recompute();
}

void CellGrid::setLineWidth(int width) {
    lineWidth_ = std::clamp(width, 0, 1);
    recompute();
}

void CellGrid::setScale(Scale scale) {
    scale_ = scale;
    recompute();
}

void CellGrid::setColumnWidth(int column, int width) {
    columnWidths_.at(column) = std::max(MinimumColumnWidth, width);
    recompute();
}

void CellGrid::recompute() {
    columnLefts_.resize(columnWidths_.size() + 1);
    columnLefts_[0] = 0;
    for (size_t column = 0; column < columnWidths_.size(); ++column)
        columnLefts_[column + 1] = columnLefts_[column] + columnPixels(int(column)) + linePixels();
}

QRect CellGrid::cellRect(int column, int row) const {
    return {columnLeft(column), row * rowPitch(), columnPixels(column), cellHeight()};
}

std::optional<GridCell> CellGrid::cellAt(const QPoint& content) const {
    if (content.x() < 0 || content.y() < 0 || content.x() >= contentWidth() ||
        content.y() >= contentHeight())
        return std::nullopt;
    const auto after = std::upper_bound(columnLefts_.begin(), columnLefts_.end(), content.x());
    return GridCell{int(after - columnLefts_.begin()) - 1, content.y() / rowPitch()};
}

std::optional<CellRange> CellGrid::cellsIn(const QRect& content) const {
    const std::optional<GridCell> first =
        cellAt(QPoint(std::max(0, content.left()), std::max(0, content.top())));
    if (!first)
        return std::nullopt;
    const QPoint bottomRight = content.bottomRight();
    const auto after = std::upper_bound(columnLefts_.begin(), columnLefts_.end(), bottomRight.x());
    return CellRange{first->column, first->row,
                     std::min(columnCount() - 1, int(after - columnLefts_.begin()) - 1),
                     std::min(rowCount_ - 1, bottomRight.y() / rowPitch())};
}

bool CellGrid::tilesStayInTheirCells() const {
    // A column's width and the tile shrink alike (rounded down), so full size decides it.
    return std::all_of(columnWidths_.begin(), columnWidths_.end(),
                       [](int width) { return width >= DefaultColumnWidth; });
}

} // namespace krelwin::render
