// Searches and counts of single bytes, shared by the file check's quick pass over a clean pack
// and its full pass. Both walk files of many megabytes, so the plain counts go 16 bytes at a
// time and the counts of rare bytes jump from one to the next with memchr.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

namespace krelwin {

inline bool contains(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

// One search of the text for each of the bytes: quicker than one walk comparing every byte
// with each of them.
inline bool containsAny(std::string_view text, std::string_view bytes) {
    for (const char c : bytes) {
        if (contains(text, c)) {
            return true;
        }
    }
    return false;
}

// How often `c` stands in the text, counting no further than `limit`. Quick for a byte that is
// rare in the text.
std::size_t countUpTo(std::string_view text, char c, std::size_t limit);

// How often `c` stands in the text; quick whatever the share of it.
std::size_t countByte(std::string_view text, char c);
// How often each of two bytes stands in the text, in one pass over it.
std::pair<std::size_t, std::size_t> countBytes(std::string_view text, char first, char second);

} // namespace krelwin
