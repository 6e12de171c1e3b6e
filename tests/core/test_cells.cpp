#include "cells.h"

#include <gtest/gtest.h>

#include <string>

namespace krelwin {
namespace {

// Every code of the alphabet with its turn, facing and tile. A butterfly's mark turns
// counter-clockwise ("<" "v" ">" "^"), a monster's clockwise ("/" "|" "-" "\").
TEST(Cells, EveryCodeTurnsFacesAndDrawsAsItsKind) {
    struct CodeCase {
        char code, turnsInto;
        Strona faces;
        int tile;
    };
    const CodeCase alphabet[] = {
        {'S', 'S', Strona::Brak, 0},  {'*', '*', Strona::Brak, 1},  {'+', '+', Strona::Brak, 2},
        {'o', 'o', Strona::Brak, 3},  {'#', '#', Strona::Brak, 4},  {'<', 'v', Strona::Lewo, 5},
        {'v', '>', Strona::Dol, 5},   {'>', '^', Strona::Prawo, 5}, {'^', '<', Strona::Gora, 5},
        {'/', '|', Strona::Lewo, 6},  {'|', '-', Strona::Gora, 6},  {'-', '\\', Strona::Prawo, 6},
        {'\\', '/', Strona::Dol, 6},  {'=', '=', Strona::Brak, 7},  {'"', '"', Strona::Brak, 8},
        {'%', '%', Strona::Brak, 9},  {'&', '&', Strona::Brak, 10}, {'~', '~', Strona::Brak, 11},
        {'W', 'W', Strona::Brak, 12}, {'.', '.', Strona::Brak, -1}, {'x', 'x', Strona::Brak, -1}};
    for (const auto& c : alphabet) {
        SCOPED_TRACE(std::string(1, c.code));
        EXPECT_EQ(turnCreature(c.code), c.turnsInto);
        EXPECT_EQ(facingOf(c.code), c.faces);
        EXPECT_EQ(tileImageOf(c.code), c.tile);
        EXPECT_EQ(isCreature(c.code), c.faces != Strona::Brak);
    }
}

TEST(Cells, BytesOutsideTheAlphabetAreInertAndHaveNoTile) {
    int creatures = 0;
    int tiled = 0;
    for (int value = 0; value < 256; ++value) {
        const char code = static_cast<char>(value);
        creatures += isCreature(code) ? 1 : 0;
        tiled += tileImageOf(code) >= 0 ? 1 : 0;
        if (!isCreature(code)) {
            EXPECT_EQ(turnCreature(code), code) << value;
            EXPECT_EQ(facingOf(code), Strona::Brak) << value;
        }
        // The last tile is the empty tool's button, never drawn in the view.
        EXPECT_LT(tileImageOf(code), TileCount - 1) << "the empty tool's tile is never drawn";
    }
    EXPECT_EQ(creatures, 8);
    EXPECT_EQ(tiled, 19);
}

} // namespace
} // namespace krelwin
