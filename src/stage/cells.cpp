#include "cells.h"

namespace krelwin {

bool isButterfly(char code) {
    return code == kod::MotylLewo || code == kod::MotylPrawo || code == kod::MotylGora ||
           code == kod::MotylDol;
}

bool isMonster(char code) {
    return code == kod::PotworLewo || code == kod::PotworPrawo || code == kod::PotworGora ||
           code == kod::PotworDol;
}

bool isCreature(char code) {
    return isButterfly(code) || isMonster(code);
}

char turnCreature(char code) {
    switch (code) {
    // A monster's mark moves clockwise around its cell: left, up, right, down.
    case kod::PotworLewo:
        return kod::PotworGora;
    case kod::PotworGora:
        return kod::PotworPrawo;
    case kod::PotworPrawo:
        return kod::PotworDol;
    case kod::PotworDol:
        return kod::PotworLewo;
    // A butterfly's mark moves the other way round: right, up, left, down.
    case kod::MotylPrawo:
        return kod::MotylGora;
    case kod::MotylGora:
        return kod::MotylLewo;
    case kod::MotylLewo:
        return kod::MotylDol;
    case kod::MotylDol:
        return kod::MotylPrawo;
    default:
        return code;
    }
}

Strona facingOf(char code) {
    switch (code) {
    case kod::MotylLewo:
    case kod::PotworLewo:
        return Strona::Lewo;
    case kod::MotylGora:
    case kod::PotworGora:
        return Strona::Gora;
    case kod::MotylPrawo:
    case kod::PotworPrawo:
        return Strona::Prawo;
    case kod::MotylDol:
    case kod::PotworDol:
        return Strona::Dol;
    default:
        return Strona::Brak;
    }
}

int tileImageOf(char code) {
    if (isButterfly(code)) {
        return 5;
    }
    if (isMonster(code)) {
        return 6;
    }
    switch (code) {
    case kod::Start:
        return 0;
    case kod::Diament:
        return 1;
    case kod::Ziemia:
        return 2;
    case kod::Kamien:
        return 3;
    case kod::Nit:
        return 4;
    case kod::Mur:
        return 7;
    case kod::DiamentowyMur:
        return 8;
    case kod::MurRozszerzalny:
        return 9;
    case kod::LawaRosnaca:
        return 10;
    case kod::LawaPrzepuszczajaca:
        return 11;
    case kod::Wyjscie:
        return 12;
    default:
        return -1;
    }
}

} // namespace krelwin
