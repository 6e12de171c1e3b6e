#include "generator.h"

#include "cells.h"

#include <algorithm>
#include <chrono>

namespace krelwin {

namespace {

constexpr uint32_t Mnoznik = 0x08088405; // 134775813
constexpr int32_t NajmniejszaSuma = 100;

constexpr int Motyle = 5; // band numbers counted from 1, as the shares are
constexpr int Potwory = 6;

// Codes of the bands 1..11 in share order; the creature bands are chosen by direction instead.
constexpr std::array<char, 11> KodyPasm{kod::Diament,
                                        kod::Ziemia,
                                        kod::Kamien,
                                        kod::Nit,
                                        kod::MotylPrawo,
                                        kod::PotworLewo,
                                        kod::Mur,
                                        kod::DiamentowyMur,
                                        kod::MurRozszerzalny,
                                        kod::LawaRosnaca,
                                        kod::LawaPrzepuszczajaca};

// Direction value 0..3 to code. The two creatures run in different orders.
constexpr std::array<char, 4> KierunkiPotwora{kod::PotworLewo, kod::PotworGora, kod::PotworPrawo,
                                              kod::PotworDol};
constexpr std::array<char, 4> KierunkiMotyla{kod::MotylPrawo, kod::MotylLewo, kod::MotylDol,
                                             kod::MotylGora};

// Thresholds P1..P11 at indices 0..10: the running sums of the shares.
std::array<int32_t, 11> progi(const Udzialy& udzialy) {
    std::array<int32_t, 11> p{};
    int32_t suma = 0;
    for (std::size_t k = 0; k < udzialy.size(); ++k) {
        suma += udzialy[k];
        p[k] = suma;
    }
    return p;
}

// Band k covers the draws at or above every earlier threshold and below Pk, so with a negative
// share the first threshold above the draw decides.
char kodLosowania(int32_t w, const std::array<int32_t, 11>& p, uint32_t potwor, uint32_t motyl) {
    for (std::size_t k = 0; k < p.size(); ++k) {
        if (w < p[k]) {
            if (k + 1 == Motyle) {
                return KierunkiMotyla[motyl];
            }
            if (k + 1 == Potwory) {
                return KierunkiPotwora[potwor];
            }
            return KodyPasm[k];
        }
    }
    return kod::Pusty;
}

char losujKomorke(ZrodloLosowe& zrodlo, const std::array<int32_t, 11>& p, uint32_t n) {
    const auto w = static_cast<int32_t>(zrodlo.Losuj(n));
    // Both direction values are drawn whenever the draw lies below their threshold, used or not,
    // so the length of the sequence a cell consumes depends only on P5 and P6.
    uint32_t potwor = 0;
    uint32_t motyl = 0;
    if (w < p[Potwory - 1]) {
        potwor = zrodlo.Losuj(4);
    }
    if (w < p[Motyle - 1]) {
        motyl = zrodlo.Losuj(4);
    }
    return kodLosowania(w, p, potwor, motyl);
}

} // namespace

void ZrodloLosowe::UstawZiarno() {
    using namespace std::chrono;
    // The system clock counts from midnight UTC and every day has the same number of
    // milliseconds in it, so the remainder is the time of day in UTC.
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    constexpr int64_t msNaDobe = 24LL * 60 * 60 * 1000;
    Ziarno = static_cast<uint32_t>(((ms % msNaDobe) + msNaDobe) % msNaDobe);
}

uint32_t ZrodloLosowe::Losuj(uint32_t zakres) {
    Ziarno = Ziarno * Mnoznik + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(zakres) * Ziarno) >> 32);
}

void GenerujPlansze(Etap& etap, ZrodloLosowe& zrodlo, const Udzialy& udzialy) {
    const auto p = progi(udzialy);
    const auto n = static_cast<uint32_t>(std::max(p.back(), NajmniejszaSuma));
    // The sizes are in range after the parameter pass; the clamp keeps the walk inside the
    // array regardless, and a size below 1 writes nothing.
    const int ostatniaKolumna = std::min<int32_t>(etap.parametry.Szer, RozmiarPlanszy - 1);
    const int ostatniWiersz = std::min<int32_t>(etap.parametry.Wys, RozmiarPlanszy - 1);
    for (int column = 1; column <= ostatniaKolumna; ++column) {
        for (int row = 1; row <= ostatniWiersz; ++row) {
            etap.plansza.at(column, row) = losujKomorke(zrodlo, p, n);
        }
    }
}

} // namespace krelwin
