// The random map generator and its pseudo-random source. Both are exact integer arithmetic, so
// one seed and one set of shares give the same stage, cell for cell, on every machine.
#pragma once

#include "plansza.h"

#include <array>
#include <cstdint>

namespace krelwin {

// The random state Ziarno and its linear congruential step (multiplier 0x08088405).
class ZrodloLosowe {
public:
    uint32_t Ziarno = 0;

    // Milliseconds since midnight UTC, read from the clock.
    void UstawZiarno();
    // One step, then floor(zakres * Ziarno / 2^32): an integer in 0 .. zakres-1.
    uint32_t Losuj(uint32_t zakres);
};

// The eleven shares u1..u11: diamond, earth, stone, rivet, butterfly, monster, wall,
// diamond wall, expanding wall, growing lava, pass-through lava.
using Udzialy = std::array<int32_t, 11>;
inline constexpr Udzialy DomyslneUdzialy{2, 30, 10, 1, 1, 1, 2, 0, 0, 0, 0};

// Fills every interior cell, column by column, from the shares; nothing else is touched.
void GenerujPlansze(Etap& etap, ZrodloLosowe& zrodlo, const Udzialy& udzialy);

} // namespace krelwin
