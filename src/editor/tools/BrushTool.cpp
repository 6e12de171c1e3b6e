#include "BrushTool.h"

#include "drawing.h"

#include <algorithm>

namespace tools {

void BrushTool::press(std::optional<Cell> cell, Qt::KeyboardModifiers) {
    cancel();
    const MapView::Selection s = view().selection();
    const krelwin::Zaznaczenie wybrane{s.left, s.top, s.right, s.bottom};
    if (!wybrane.isSingleCell()) {
        const char code = narzedzie();
        commitEdit(
            [this, wybrane, code] { return krelwin::fillSelection(stage(), wybrane, code); });
        return;
    }
    if (!cell)
        return; // where the view has no cell nothing is painted
    stroking_ = true;
    code_ = narzedzie();
    last_ = *cell;
    strokeTo(*cell);
    view().repaintCell(cell->column, cell->row);
    view().setCurrentRow(cell->row);
    view().setCurrentColumn(cell->column);
}

void BrushTool::move(Cell cell) {
    if (stroking_)
        strokeTo(cell);
}

void BrushTool::release(Cell cell) {
    if (!stroking_)
        return;
    strokeTo(cell);
    stroking_ = false;
    commitEdit([this] { return krelwin::paintCells(stage(), stroke_, code_); });
    stroke_.clear();
}

void BrushTool::cancel() {
    stroking_ = false;
    stroke_.clear();
    DrawingTool::cancel();
}

void BrushTool::strokeTo(Cell to) {
    const krelwin::ZapisanePola segment =
        krelwin::lineCells(etap(), poleOf(last_), poleOf(to), code_);
    last_ = to;
    bool grew = false;
    for (const krelwin::Pole& pole : segment)
        if (std::find(stroke_.begin(), stroke_.end(), pole) == stroke_.end()) {
            stroke_.push_back(pole);
            grew = true;
        }
    if (grew)
        showPreview(stroke_, code_);
}

} // namespace tools
