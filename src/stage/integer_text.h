// The integer conversion shared by the stage file reader and the editor's number fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace krelwin {

// A signed decimal integer: leading blanks, then an optional "+" or "-", then one or more
// digits and nothing else. Empty text, a lone sign, any other character or a value outside
// 32 bits does not convert.
std::optional<int32_t> parseInteger(std::string_view text);

} // namespace krelwin
