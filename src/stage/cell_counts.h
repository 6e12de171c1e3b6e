// How many interior cells of a stage hold each code: what `krelwin-stage stats`, the stage's
// findings and the editor's status line show.
#pragma once

#include "plansza.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace krelwin {

class CellCounts {
public:
    int of(char code) const { return byCode_[static_cast<unsigned char>(code)]; }
    // All codes of the kind (an index of CellKinds), or every code outside the alphabet for
    // UnknownKind.
    int ofKind(int kind) const;
    // The cells counted.
    int total() const;

    void add(char code) { ++byCode_[static_cast<unsigned char>(code)]; }
    void remove(char code) { --byCode_[static_cast<unsigned char>(code)]; }

    bool operator==(const CellCounts&) const = default;

private:
    std::array<int, 256> byCode_{};
};

// The interior as a write stores it (columns 1..Szer, rows 1..Wys, at most 80 by 80), one walk.
CellCounts countCells(const Etap& etap);

struct KindShare {
    const char* name;
    int kind; // an index of CellKinds, or UnknownKind
    int count;
    double share; // of the interior's cells, 0 to 1
};
// Every kind in the toolbar's order, the empty cell last, then the codes outside the alphabet
// together when the stage holds any.
std::vector<KindShare> kindShares(const CellCounts& counts);

// "Diamenty: N/M": cells holding a diamond against the diamonds to collect (IleD).
std::string diamondsText(const CellCounts& counts, int32_t ileD);

} // namespace krelwin
