#include "ShapeTool.h"

#include "drawing.h"

namespace tools {

void ShapeTool::press(std::optional<Cell> cell, Qt::KeyboardModifiers) {
    cancel();
    if (!cell)
        return;
    drawing_ = true;
    code_ = narzedzie();
    start_ = *cell;
    move(*cell);
}

void ShapeTool::move(Cell cell) {
    if (drawing_)
        showPreview(
            krelwin::cellsToChange(etap(), shapeBetween(poleOf(start_), poleOf(cell)), code_),
            code_);
}

void ShapeTool::release(Cell cell) {
    if (!drawing_)
        return;
    drawing_ = false;
    const std::vector<krelwin::Pole> shape = shapeBetween(poleOf(start_), poleOf(cell));
    commitEdit([this, &shape] { return krelwin::paintCells(stage(), shape, code_); });
}

void ShapeTool::cancel() {
    drawing_ = false;
    DrawingTool::cancel();
}

} // namespace tools
