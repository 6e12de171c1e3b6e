#include "PreviewLayer.h"

void PreviewLayer::resize(int columns, int rows) {
    columns_ = columns;
    rows_ = rows;
    cells_.clear();
    codes_.assign(std::size_t(columns) * std::size_t(rows), None);
}

std::optional<std::size_t> PreviewLayer::indexOf(int column, int row) const {
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_)
        return std::nullopt;
    return std::size_t(row) * std::size_t(columns_) + std::size_t(column);
}

std::optional<char> PreviewLayer::codeAt(int column, int row) const {
    const auto index = indexOf(column, row);
    if (!index || codes_[*index] == None)
        return std::nullopt;
    return char(codes_[*index]);
}

std::vector<PreviewLayer::Cell> PreviewLayer::replace(const std::vector<PreviewCell>& cells) {
    std::vector<int16_t> codes(codes_.size(), None);
    std::vector<Cell> shown;
    shown.reserve(cells.size());
    for (const PreviewCell& cell : cells) {
        const auto index = indexOf(cell.column, cell.row);
        if (!index)
            continue;
        if (codes[*index] == None)
            shown.push_back({cell.column, cell.row});
        codes[*index] = int16_t(static_cast<unsigned char>(cell.code));
    }
    std::vector<Cell> changed;
    const auto differs = [&](const Cell& cell) {
        const std::size_t index = *indexOf(cell.column, cell.row);
        return codes[index] != codes_[index];
    };
    for (const Cell& cell : cells_)
        if (differs(cell))
            changed.push_back(cell);
    for (const Cell& cell : shown)
        if (codes_[*indexOf(cell.column, cell.row)] == None) // else counted above if it differs
            changed.push_back(cell);
    codes_.swap(codes);
    cells_.swap(shown);
    return changed;
}
