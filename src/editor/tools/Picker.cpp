#include "Picker.h"

#include "cells.h"

namespace tools {

std::optional<char> pickedTool(char code) {
    if (code == krelwin::kod::Pusty || krelwin::tileImageOf(code) >= 0)
        return code;
    return std::nullopt;
}

char toolbarCodeOf(char narzedzie) {
    if (krelwin::isButterfly(narzedzie))
        return krelwin::kod::MotylPrawo;
    if (krelwin::isMonster(narzedzie))
        return krelwin::kod::PotworLewo;
    return narzedzie;
}

} // namespace tools
