// The Windows-1250 code page of the game's files as a reversible byte <-> character table.
// The five bytes the code page leaves undefined map to the C1 control characters of the same
// value, so every byte string survives a round trip.
#pragma once

#include <optional>
#include <string>

namespace krelwin {

char32_t cp1250ToUnicode(unsigned char byte);
// The byte for the character, or nothing when the code page cannot hold it.
std::optional<unsigned char> unicodeToCp1250(char32_t character);

std::u32string decodeCp1250(const std::string& bytes);
// Nothing when a character cannot be held.
std::optional<std::string> encodeCp1250(const std::u32string& text);

} // namespace krelwin
