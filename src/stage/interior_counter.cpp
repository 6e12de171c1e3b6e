#include "interior_counter.h"

#include "cells.h"

#include <algorithm>

namespace krelwin {

void InteriorCounter::rebuild(const Etap& etap) {
    counts_ = countCells(etap);
    szer_ = etap.parametry.Szer;
    wys_ = etap.parametry.Wys;
}

bool InteriorCounter::followSize(const Etap& etap) {
    if (etap.parametry.Szer == szer_ && etap.parametry.Wys == wys_) {
        return false;
    }
    rebuild(etap);
    return true;
}

void InteriorCounter::cellChanged(int column, int row, char before, char after) {
    // The same extent countCells walks.
    const bool counted = column >= 1 && column <= std::min<int32_t>(szer_, MaxWymiar) && row >= 1 &&
                         row <= std::min<int32_t>(wys_, MaxWymiar);
    if (counted) {
        counts_.remove(before);
        counts_.add(after);
    }
}

StatusCounts statusCounts(const CellCounts& counts, int32_t ileD) {
    const auto unlessOne = [&counts](const char* label, char code) {
        const int count = counts.of(code);
        return count == 1 ? std::string() : label + std::to_string(count);
    };
    return {diamondsText(counts, ileD), unlessOne("Start: ", kod::Start),
            unlessOne("Wyjście: ", kod::Wyjscie)};
}

} // namespace krelwin
