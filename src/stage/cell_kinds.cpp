#include "cell_kinds.h"

#include <cstdio>

namespace krelwin {

namespace {

std::array<char, 256> listingOrder() {
    std::array<char, 256> order{};
    std::size_t next = 0;
    for (const CellKind& kind : CellKinds) {
        for (const char code : kind.kody) {
            order[next++] = code;
        }
    }
    for (int value = 0; value < 256; ++value) {
        if (!isKnownCode(static_cast<char>(value))) {
            order[next++] = static_cast<char>(value);
        }
    }
    return order;
}

} // namespace

const char* kindNameOf(char code) {
    const int kind = kindOf(code);
    return kind == UnknownKind ? UnknownKindName : CellKinds[static_cast<std::size_t>(kind)].name;
}

const std::array<char, 256>& codesInListingOrder() {
    static const std::array<char, 256> order = listingOrder();
    return order;
}

std::string shownCode(char code) {
    const auto value = static_cast<unsigned char>(code);
    if (value > ' ' && value < 127) {
        return std::string(1, code);
    }
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", value);
    return escaped;
}

} // namespace krelwin
