// The stage in memory: the 82x82 cell array with its border ring and the stage's parameters.
#pragma once

#include "cells.h"

#include <array>
#include <cstdint>
#include <string>

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

    void fill(char code);
    void fillWithRivets() { fill('#'); }

    bool operator==(const Plansza&) const = default;

private:
    std::array<std::array<char, RozmiarPlanszy>, RozmiarPlanszy> cells_{};
};

struct Zakres {
    int32_t min;
    int32_t max;
    int32_t clamp(int32_t value) const { return value < min ? min : (value > max ? max : value); }
};

inline constexpr Zakres ZakresSzer{18, 80};
inline constexpr Zakres ZakresWys{10, 80};
inline constexpr Zakres ZakresIleD{1, 999};
inline constexpr Zakres ZakresPktD{1, 999};
inline constexpr Zakres ZakresMagMur{0, 999};
inline constexpr Zakres ZakresRozL{0, 999};
inline constexpr Zakres ZakresLawP{0, 999};
inline constexpr Zakres ZakresCzasG{5, 999};

inline constexpr char TypZwykly = 'Z';
inline constexpr char TypBonusowy = 'B';
inline constexpr const char* DomyslneKolory =
    "00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55";
inline constexpr const char* DomyslnaNazwaEtapu = "Etap 01";

struct ParametryEtapu {
    int32_t Szer = 32;
    int32_t Wys = 20;
    int32_t IleD = 10;
    int32_t PktD = 10;
    int32_t MagMur = 10;
    int32_t RozL = 10;
    int32_t LawP = 10;
    int32_t CzasG = 100;
    char Typ = TypZwykly;
    std::string Kolory = DomyslneKolory;

    bool operator==(const ParametryEtapu&) const = default;
};

// The parameter pass: what sending values through the stage parameters dialog's fields and
// back does to them. Each number goes to the nearer end of its range, any type but "Z" becomes
// "B"; the colour text is left alone.
void applyParameterPass(ParametryEtapu& parametry);

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
