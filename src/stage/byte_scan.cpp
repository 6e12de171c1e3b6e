#include "byte_scan.h"

#include <array>
#include <cstring>

namespace krelwin {

namespace {

// The count of each wanted byte, 16 bytes of the text compared at a time: a plain count of a
// 66 MB file would take longer than all of the checking.
template <std::size_t N>
std::array<std::size_t, N> countEach(std::string_view text, const std::array<char, N>& wanted) {
    using Bytes = char __attribute__((vector_size(16)));
    constexpr std::size_t Width = sizeof(Bytes);
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

} // namespace

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

std::size_t countByte(std::string_view text, char c) {
    return countEach<1>(text, {c})[0];
}

std::pair<std::size_t, std::size_t> countBytes(std::string_view text, char first, char second) {
    const std::array<std::size_t, 2> counts = countEach<2>(text, {first, second});
    return {counts[0], counts[1]};
}

} // namespace krelwin
