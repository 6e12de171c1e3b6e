// Editing operations over the stage in memory. Each reports the cells it wrote, in the order
// it wrote them, so that the editor redraws just those.
#pragma once

#include "plansza.h"

#include <vector>

namespace krelwin {

struct Pole {
    int column;
    int row;
    bool operator==(const Pole&) const = default;
};

// The map view's selection: columns left..right and rows top..bottom, both inclusive.
struct Zaznaczenie {
    int left;
    int top;
    int right;
    int bottom;
    bool isSingleCell() const { return left == right && top == bottom; }
};

using ZapisanePola = std::vector<Pole>;

// Fills the interior cells of the selection with the tool, column by column from the left and
// within a column from the top. Cells of the ring and beyond are neither written nor reported.
ZapisanePola fillSelection(Etap& etap, const Zaznaczenie& zaznaczenie, char narzedzie);

// Paints one cell with the tool when it is an interior cell; returns whether it was written.
bool paintCell(Etap& etap, Pole pole, char narzedzie);

// Turns the creature in the cell (any cell of the array, no interior test); returns the new code,
// or "x" (no cell) for a position outside the array, which is left alone.
char turnCreatureAt(Etap& etap, Pole pole);

} // namespace krelwin
