#include "integer_text.h"

#include <charconv>

namespace krelwin {

std::optional<int32_t> parseInteger(std::string_view text) {
    // Leading blanks and a "+" are ours to take: std::from_chars accepts neither, only a "-".
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    text.remove_prefix(start);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) {
            return std::nullopt;
        }
    }
    // from_chars refuses a lone "-" or no digits, and reports a value outside 32 bits.
    int32_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace krelwin
