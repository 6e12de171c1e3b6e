#include "schowek.h"

#include "cells.h"

#include <algorithm>

namespace krelwin {

namespace {

// The last row and column that a copy resets and that a paste reads. Row and column 81 are
// left out of both: a cell copied there is never pasted.
constexpr int LastBlockIndex = RozmiarPlanszy - 2;

// Visits the selected cells column by column from the left, each column from the top. The
// view only selects array cells; the clamp keeps any other rectangle inside the array.
template <typename Visit> void forEachSelected(const Zaznaczenie& zaznaczenie, Visit visit) {
    const int right = Plansza::clampToArray(zaznaczenie.right);
    const int bottom = Plansza::clampToArray(zaznaczenie.bottom);
    for (int column = Plansza::clampToArray(zaznaczenie.left); column <= right; ++column) {
        for (int row = Plansza::clampToArray(zaznaczenie.top); row <= bottom; ++row) {
            visit(column, row);
        }
    }
}

} // namespace

Schowek::Schowek() {
    for (auto& column : positions_) {
        column.fill(kod::BrakKomorki);
    }
}

void Schowek::kopiuj(const Plansza& plansza, const Zaznaczenie& zaznaczenie) {
    for (int column = 0; column <= LastBlockIndex; ++column) {
        for (int row = 0; row <= LastBlockIndex; ++row) {
            positions_[column][row] = kod::BrakKomorki;
        }
    }
    forEachSelected(zaznaczenie, [&](int column, int row) {
        positions_[column][row] = plansza.at(column, row);
    });
}

ZapisanePola Schowek::wytnij(Plansza& plansza, const Zaznaczenie& zaznaczenie) {
    kopiuj(plansza, zaznaczenie);
    return skasuj(plansza, zaznaczenie);
}

ZapisanePola Schowek::skasuj(Plansza& plansza, const Zaznaczenie& zaznaczenie) {
    ZapisanePola written;
    forEachSelected(zaznaczenie, [&](int column, int row) {
        plansza.at(column, row) = kod::Pusty;
        written.push_back(Pole{column, row});
    });
    return written;
}

ZapisanePola Schowek::wklej(Etap& etap, Pole cel) const {
    ZapisanePola written;
    Pole target = cel;
    // Row by row: a row of the clipboard that places nothing (above the block, or fallen below
    // the stage) does not move the target, which is what puts the block's corner at `cel`.
    for (int row = 1; row <= LastBlockIndex; ++row) {
        bool placedInRow = false;
        for (int column = 1; column <= LastBlockIndex; ++column) {
            const char code = positions_[column][row];
            if (code == kod::BrakKomorki || !Plansza::inArray(target.column, target.row) ||
                !etap.isInterior(target.column, target.row)) {
                continue;
            }
            etap.plansza.at(target.column, target.row) = code;
            written.push_back(target);
            ++target.column;
            placedInRow = true;
        }
        if (placedInRow) {
            ++target.row;
            target.column = cel.column;
        }
    }
    return written;
}

} // namespace krelwin
