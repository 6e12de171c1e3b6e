#include "Picker.h"

#include "cell_kinds.h"
#include "cells.h"

namespace tools {

std::optional<char> pickedTool(char code) {
    if (krelwin::isKnownCode(code))
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
