#include "integer_text.h"

#include <cstddef>

namespace krelwin {

std::optional<int32_t> parseInteger(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size() && text[position] == ' ') {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    if (position == text.size()) {
        return std::nullopt;
    }
    // Accumulate the magnitude in 64 bits so that -2147483648 converts and anything beyond
    // 32 bits is caught before it can overflow.
    constexpr int64_t limit = int64_t{1} << 31;
    int64_t magnitude = 0;
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    if (!negative && magnitude == limit) {
        return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

} // namespace krelwin
