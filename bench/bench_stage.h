// The stage of the benchmarks' large packs: the largest size, 80 x 80, one fill, a start in the
// first cell and an exit in the last.
#pragma once

#include "plansza.h"

namespace benchsupport {

inline krelwin::Etap benchStage(char fill) {
    krelwin::Etap etap;
    etap.parametry.Szer = krelwin::MaxWymiar;
    etap.parametry.Wys = krelwin::MaxWymiar;
    etap.fillInterior(fill);
    etap.plansza.at(1, 1) = 'S';
    etap.plansza.at(krelwin::MaxWymiar, krelwin::MaxWymiar) = 'W';
    return etap;
}

} // namespace benchsupport
