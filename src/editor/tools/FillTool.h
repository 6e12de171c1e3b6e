// "Wypełnianie": a right click fills the area of cells holding the clicked cell's code that it
// reaches through left, right, up and down neighbours; with Shift it replaces every cell of that
// code in the stage, or within the selection when more than one cell is selected. The change is
// one edit, made on the press, and its size is reported. Only interior cells change.
#pragma once

#include "DrawingTool.h"

namespace tools {

class FillTool : public DrawingTool {
public:
    using DrawingTool::DrawingTool;

    void press(std::optional<Cell> cell, Qt::KeyboardModifiers modifiers) override;
};

} // namespace tools
