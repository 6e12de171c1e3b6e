#include "editing.h"

#include "cells.h"

#include <algorithm>

namespace krelwin {

namespace {

bool isWritableInterior(const Etap& etap, Pole pole) {
    return Plansza::inArray(pole.column, pole.row) && etap.isInterior(pole.column, pole.row);
}

} // namespace

ZapisanePola fillSelection(Etap& etap, const Zaznaczenie& zaznaczenie, char narzedzie) {
    ZapisanePola written;
    const int right = Plansza::clampToArray(zaznaczenie.right);
    const int bottom = Plansza::clampToArray(zaznaczenie.bottom);
    for (int column = Plansza::clampToArray(zaznaczenie.left); column <= right; ++column) {
        for (int row = Plansza::clampToArray(zaznaczenie.top); row <= bottom; ++row) {
            if (paintCell(etap, Pole{column, row}, narzedzie)) {
                written.push_back(Pole{column, row});
            }
        }
    }
    return written;
}

bool paintCell(Etap& etap, Pole pole, char narzedzie) {
    if (!isWritableInterior(etap, pole)) {
        return false;
    }
    etap.plansza.at(pole.column, pole.row) = narzedzie;
    return true;
}

char turnCreatureAt(Etap& etap, Pole pole) {
    if (!Plansza::inArray(pole.column, pole.row)) {
        return kod::BrakKomorki;
    }
    char& cell = etap.plansza.at(pole.column, pole.row);
    cell = turnCreature(cell);
    return cell;
}

} // namespace krelwin
