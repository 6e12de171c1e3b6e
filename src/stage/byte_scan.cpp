#include "byte_scan.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif

namespace krelwin {

namespace {

constexpr std::size_t Width = 16; // bytes looked at together

// A byte is in a set made of nibble tables when the bit of its high nibble's kind is among the
// bits its low nibble allows.
bool inNibbleTables(unsigned char c, const std::array<unsigned char, 16>& byHigh,
                    const std::array<unsigned char, 16>& byLow) {
    return (byHigh[c >> 4] & byLow[c & 0x0f]) != 0;
}

#if defined(__x86_64__) || defined(__i386__)
// Each nibble of 16 bytes is looked up in its table with one byte shuffle, an instruction from
// SSSE3 on, which nearly every x86-64 processor has.
__attribute__((target("ssse3"))) bool holdsAllShuffled(std::string_view text,
                                                       const std::array<unsigned char, 16>& byHigh,
                                                       const std::array<unsigned char, 16>& byLow) {
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(byHigh.data()));
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(byLow.data()));
    const __m128i nibble = _mm_set1_epi8(0x0f);
    const __m128i none = _mm_setzero_si128();
    __m128i misses = none;
    const char* p = text.data();
    std::size_t left = text.size();
    for (; left >= Width; p += Width, left -= Width) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i highNibbles = _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble);
        const __m128i kinds = _mm_and_si128(_mm_shuffle_epi8(high, highNibbles),
                                            _mm_shuffle_epi8(low, _mm_and_si128(bytes, nibble)));
        misses = _mm_or_si128(misses, _mm_cmpeq_epi8(kinds, none));
    }
    bool all = _mm_movemask_epi8(misses) == 0;
    for (; left > 0; ++p, --left) {
        all &= inNibbleTables(static_cast<unsigned char>(*p), byHigh, byLow);
    }
    return all;
}

bool shuffleIsQuick() {
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3;
}
#else
bool holdsAllShuffled(std::string_view, const std::array<unsigned char, 16>&,
                      const std::array<unsigned char, 16>&) {
    return false; // not called
}

bool shuffleIsQuick() {
    return false;
}
#endif

} // namespace

// 16 bytes of the text are compared at a time: a plain count of a 66 MB file would take longer
// than all of the checking.
template <std::size_t N>
std::array<std::size_t, N> countEach(std::string_view text, const std::array<char, N>& wanted) {
    using Bytes = char __attribute__((vector_size(Width)));
    constexpr std::size_t Run = 255; // steps before a lane of a sum could overflow
    std::array<Bytes, N> patterns;
    for (std::size_t i = 0; i < N; ++i) {
        patterns[i] = Bytes{} + wanted[i];
    }
    std::array<std::size_t, N> counts{};
    const char* p = text.data();
    std::size_t left = text.size();
    while (left >= Width) {
        std::array<Bytes, N> sums{};
        for (std::size_t step = 0; step < Run && left >= Width; ++step, p += Width, left -= Width) {
            Bytes bytes;
            std::memcpy(&bytes, p, Width);
#pragma GCC unroll 3 // keeps the sums in registers
            for (std::size_t i = 0; i < N; ++i) {
                sums[i] -= static_cast<Bytes>(bytes == patterns[i]); // -1 in each lane that matches
            }
        }
        for (std::size_t i = 0; i < N; ++i) {
            for (std::size_t lane = 0; lane < Width; ++lane) {
                counts[i] += static_cast<unsigned char>(sums[i][lane]);
            }
        }
    }
    for (; left > 0; ++p, --left) {
        for (std::size_t i = 0; i < N; ++i) {
            counts[i] += *p == wanted[i];
        }
    }
    return counts;
}
template std::array<std::size_t, 1> countEach(std::string_view, const std::array<char, 1>&);
template std::array<std::size_t, 2> countEach(std::string_view, const std::array<char, 2>&);
template std::array<std::size_t, 3> countEach(std::string_view, const std::array<char, 3>&);

ByteSet::ByteSet(std::string_view members) {
    for (const char c : members) {
        members_[static_cast<unsigned char>(c)] = true;
    }
    // The high nibbles by the low nibbles that go with them; equal rows share a kind.
    std::array<uint16_t, 16> rows{};
    for (std::size_t value = 0; value < 256; ++value) {
        if (members_[value]) {
            rows[value >> 4] |= static_cast<uint16_t>(1u << (value & 0x0f));
        }
    }
    std::array<uint16_t, 8> kinds{};
    std::size_t kindCount = 0;
    for (std::size_t high = 0; high < 16; ++high) {
        if (rows[high] == 0) {
            continue;
        }
        std::size_t kind = 0;
        while (kind < kindCount && kinds[kind] != rows[high]) {
            ++kind;
        }
        if (kind == kinds.size()) {
            return; // more kinds than bits: tested a byte at a time
        }
        if (kind == kindCount) {
            kinds[kindCount++] = rows[high];
        }
        byHigh_[high] = static_cast<unsigned char>(1u << kind);
    }
    for (std::size_t kind = 0; kind < kindCount; ++kind) {
        for (std::size_t low = 0; low < 16; ++low) {
            if ((kinds[kind] >> low) & 1u) {
                byLow_[low] |= static_cast<unsigned char>(1u << kind);
            }
        }
    }
    nibbleTables_ = true;
}

bool ByteSet::holdsAll(std::string_view text) const {
    if (nibbleTables_ && shuffleIsQuick()) {
        return holdsAllShuffled(text, byHigh_, byLow_);
    }
    // No early exit: a branch per byte costs more than the rest of the walk.
    bool all = true;
    for (const char c : text) {
        all &= has(c);
    }
    return all;
}

std::size_t countUpTo(std::string_view text, char c, std::size_t limit) {
    std::size_t count = 0;
    if (text.empty()) {
        return count; // memchr must not be given the null pointer of an empty view
    }
    for (const char *p = text.data(), *end = p + text.size();
         count < limit && (p = static_cast<const char*>(std::memchr(p, c, end - p))) != nullptr;
         ++p) {
        ++count;
    }
    return count;
}

} // namespace krelwin
