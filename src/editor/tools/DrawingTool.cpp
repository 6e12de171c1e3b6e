#include "DrawingTool.h"

namespace tools {

void DrawingTool::showPreview(const krelwin::ZapisanePola& cells, char code) {
    std::vector<PreviewCell> preview;
    preview.reserve(cells.size());
    for (const krelwin::Pole& pole : cells)
        preview.push_back({pole.column, pole.row, code});
    view().setPreview(preview);
}

krelwin::ZapisanePola DrawingTool::commitEdit(const Edit& edit) {
    krelwin::ZapisanePola written = context_.commit(edit);
    view().clearPreview();
    for (const krelwin::Pole& pole : written)
        view().repaintCell(pole.column, pole.row);
    return written;
}

} // namespace tools
