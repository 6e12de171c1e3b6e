// The map view's preview layer: cells shown with the code a drawing would give them, in place of
// the stage's own, while the user drags a shape. It holds only the previewed cells and tells,
// for each new preview, which cells look different from the last one, so that the view
// repaints just those.
#pragma once

#include "CellGrid.h"

#include <cstdint>
#include <optional>
#include <vector>

struct PreviewCell {
    int column;
    int row;
    char code;
    bool operator==(const PreviewCell&) const = default;
};

class PreviewLayer {
public:
    using Cell = krelwin::render::GridCell;

    // The grid's size; the preview is dropped.
    void resize(int columns, int rows);

    // Puts `cells` in place of the preview (cells beyond the grid are left out; of a cell given
    // twice the last code counts). Returns the cells whose look changes: previewed before or now
    // but not both, or with another code.
    std::vector<Cell> replace(const std::vector<PreviewCell>& cells);

    std::optional<char> codeAt(int column, int row) const;
    bool isEmpty() const { return cells_.empty(); }

private:
    static constexpr int16_t None = -1;
    std::optional<std::size_t> indexOf(int column, int row) const;

    int columns_ = 0;
    int rows_ = 0;
    std::vector<Cell> cells_;    // the previewed cells, each once
    std::vector<int16_t> codes_; // per grid cell, row by row: its code (0..255) or None
};
