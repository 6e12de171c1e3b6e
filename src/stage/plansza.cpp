#include "plansza.h"

#include "cells.h"

#include <algorithm>

namespace krelwin {

namespace {

// The last index a walk over columns 1..extent (or rows) may touch. The sizes are kept in range
// by the parameter pass, but a walk must stay inside the array even if they were not.
int lastWalkIndex(int32_t extent) {
    return std::clamp<int32_t>(extent, 0, RozmiarPlanszy - 1);
}

template <typename Visit> void forEachInteriorCell(int32_t szer, int32_t wys, Visit visit) {
    const int lastColumn = lastWalkIndex(szer);
    const int lastRow = lastWalkIndex(wys);
    for (int column = 1; column <= lastColumn; ++column) {
        for (int row = 1; row <= lastRow; ++row) {
            visit(column, row);
        }
    }
}

} // namespace

void Plansza::fill(char code) {
    for (auto& column : cells_) {
        column.fill(code);
    }
}

void Etap::fillInterior(char code) {
    forEachInteriorCell(parametry.Szer, parametry.Wys,
                        [&](int column, int row) { plansza.at(column, row) = code; });
}

int Etap::countInInterior(char code) const {
    int count = 0;
    forEachInteriorCell(parametry.Szer, parametry.Wys, [&](int column, int row) {
        if (plansza.at(column, row) == code) {
            ++count;
        }
    });
    return count;
}

void Etap::trimToSize() {
    for (int column = 0; column < RozmiarPlanszy; ++column) {
        for (int row = 0; row < RozmiarPlanszy; ++row) {
            if (column > parametry.Szer || row > parametry.Wys) {
                plansza.at(column, row) = kod::Nit;
            }
        }
    }
}

bool Etap::hasOneStartAndOneExit() const {
    return countInInterior(kod::Start) == 1 && countInInterior(kod::Wyjscie) == 1;
}

} // namespace krelwin
