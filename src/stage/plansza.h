// The stage in memory: the 82x82 cell array with its border ring and the stage's parameters.
#pragma once

#include "cells.h"
#include "parametry_etapu.h"

#include <algorithm>
#include <array>

namespace krelwin {

inline constexpr int RozmiarPlanszy = 82; // columns and rows 0..81
inline constexpr int MaxWymiar = 80;      // the largest interior

// The cells, addressed [column][row]; column 0 and row 0 are the top-left corner of the ring.
class Plansza {
public:
    Plansza() { fillWithRivets(); }

    char at(int column, int row) const { return cells_[column][row]; }
    char& at(int column, int row) { return cells_[column][row]; }
    static bool inArray(int column, int row) {
        return column >= 0 && column < RozmiarPlanszy && row >= 0 && row < RozmiarPlanszy;
    }
    // The nearest column or row index the array has: a walk over a rectangle from elsewhere
    // stays inside the array.
    static int clampToArray(int index) { return std::clamp(index, 0, RozmiarPlanszy - 1); }

    void fill(char code);
    void fillWithRivets() { fill('#'); }

    bool operator==(const Plansza&) const = default;

private:
    std::array<std::array<char, RozmiarPlanszy>, RozmiarPlanszy> cells_{};
};

inline constexpr const char* DomyslnaNazwaEtapu = "Etap 01";

// The one stage held in memory.
struct Etap {
    Plansza plansza;
    ParametryEtapu parametry;

    bool isInterior(int column, int row) const {
        return column >= 1 && column <= parametry.Szer && row >= 1 && row <= parametry.Wys;
    }
    // Sets every interior cell (columns 1..Szer, rows 1..Wys) to the code.
    void fillInterior(char code);
    // Sets the interior to ".".
    void clearInterior() { fillInterior(kod::Pusty); }
    // How many interior cells hold the code.
    int countInInterior(char code) const;
    // After a change of size: every cell right of Szer or below Wys becomes "#".
    void trimToSize();
    // The start-and-exit rule: exactly one "S" and one "W" in the interior.
    bool hasOneStartAndOneExit() const;

    bool operator==(const Etap&) const = default;
};

} // namespace krelwin
