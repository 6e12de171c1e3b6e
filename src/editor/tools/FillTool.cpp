#include "FillTool.h"

#include "drawing.h"

namespace tools {

void FillTool::press(std::optional<Cell> cell, Qt::KeyboardModifiers modifiers) {
    if (!cell)
        return;
    const krelwin::Pole start = poleOf(*cell);
    const char code = narzedzie();
    std::optional<krelwin::Zaznaczenie> within;
    if (const MapView::Selection s = view().selection(); s.left != s.right || s.top != s.bottom)
        within = krelwin::Zaznaczenie{s.left, s.top, s.right, s.bottom};
    const bool replace = modifiers & Qt::ShiftModifier;
    const krelwin::ZapisanePola changed = commitEdit([&]() -> krelwin::ZapisanePola {
        if (!replace)
            return krelwin::floodFill(stage(), start, code);
        if (!krelwin::Plansza::inArray(start.column, start.row) ||
            !stage().isInterior(start.column, start.row))
            return {}; // as for a fill, a click on the ring changes nothing
        const char clicked = stage().plansza.at(start.column, start.row);
        return krelwin::replaceCode(stage(), clicked, code, within);
    });
    reportChange(int(changed.size()));
}

} // namespace tools
