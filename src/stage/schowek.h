// The block clipboard: the program's own, one block at a time, laid out like Plansza.
#pragma once

#include "editing.h"
#include "plansza.h"

#include <array>

namespace krelwin {

class Schowek {
public:
    Schowek(); // empty: every position holds "x"

    // "Kopiuj": the selection's cells, border ring included, into the same positions.
    void kopiuj(const Plansza& plansza, const Zaznaczenie& zaznaczenie);
    // "Wytnij": copy, then "." into every selected cell (no interior test).
    ZapisanePola wytnij(Plansza& plansza, const Zaznaczenie& zaznaczenie);
    // "Wklej": the block with its top-left cell at `cel`, row for row, interior cells only.
    ZapisanePola wklej(Etap& etap, Pole cel) const;
    // "Skasuj": "." into every selected cell; the clipboard is not touched.
    static ZapisanePola skasuj(Plansza& plansza, const Zaznaczenie& zaznaczenie);

    char at(int column, int row) const { return positions_[column][row]; }

private:
    std::array<std::array<char, RozmiarPlanszy>, RozmiarPlanszy> positions_{};
};

} // namespace krelwin
