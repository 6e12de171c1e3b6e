#include "CellChange.h"

ZmianyPol changedCells(const krelwin::Plansza& before, const krelwin::Plansza& after,
                       const krelwin::ZapisanePola& written) {
    ZmianyPol changes;
    for (const krelwin::Pole& pole : written) {
        const char przed = before.at(pole.column, pole.row);
        const char po = after.at(pole.column, pole.row);
        if (przed != po) {
            changes.push_back({uint8_t(pole.column), uint8_t(pole.row), przed, po});
        }
    }
    changes.shrink_to_fit(); // kept for as long as the step is
    return changes;
}
