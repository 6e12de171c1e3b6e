// Searches and counts of single bytes, shared by the file check's quick pass over a clean pack
// and its full pass. Both walk files of many megabytes, so the plain counts go 16 bytes at a
// time and the counts of rare bytes jump from one to the next with memchr.
#pragma once

#include <array>
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

// How often each of the bytes stands in the text, in one pass over it; quick whatever their
// share. For N of 1 to 3.
template <std::size_t N>
std::array<std::size_t, N> countEach(std::string_view text, const std::array<char, N>& bytes);

// A set of byte values, made once, against which whole texts are tested 16 bytes at a time.
class ByteSet {
public:
    explicit ByteSet(std::string_view members);
    bool has(char c) const { return members_[static_cast<unsigned char>(c)]; }
    // Whether every byte of the text is in the set.
    bool holdsAll(std::string_view text) const;

private:
    std::array<bool, 256> members_{};
    // The set as two 16-byte tables, for sets whose members fall into at most 8 kinds of high
    // nibble (by the low nibbles that go with it): `byHigh_` gives each high nibble its kind's
    // bit, `byLow_` each low nibble the bits of the kinds it is a member with.
    std::array<unsigned char, 16> byHigh_{};
    std::array<unsigned char, 16> byLow_{};
    bool nibbleTables_ = false;
};

} // namespace krelwin
