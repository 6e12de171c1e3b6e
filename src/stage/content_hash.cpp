#include "content_hash.h"

#include <bit>
#include <cstring>

namespace krelwin {

namespace {

constexpr uint64_t Prime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t Prime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t Prime3 = 0x165667B19E3779F9ull;
constexpr uint64_t Prime4 = 0x85EBCA77C2B2AE63ull;
constexpr uint64_t Prime5 = 0x27D4EB2F165667C5ull;

uint64_t word64(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

uint32_t word32(const char* p) {
    uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

uint64_t round(uint64_t lane, uint64_t input) {
    lane += input * Prime2;
    return std::rotl(lane, 31) * Prime1;
}

uint64_t mergeLane(uint64_t digest, uint64_t lane) {
    digest ^= round(0, lane);
    return digest * Prime1 + Prime4;
}

uint64_t avalanche(uint64_t digest) {
    digest ^= digest >> 33;
    digest *= Prime2;
    digest ^= digest >> 29;
    digest *= Prime3;
    return digest ^ (digest >> 32);
}

} // namespace

uint64_t contentHash(std::string_view bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    uint64_t digest = Prime5;
    if (bytes.size() >= 32) {
        uint64_t lanes[4] = {Prime1 + Prime2, Prime2, 0, 0 - Prime1};
        for (; end - p >= 32; p += 32) {
            for (int i = 0; i < 4; ++i) {
                lanes[i] = round(lanes[i], word64(p + 8 * i));
            }
        }
        digest = std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12) +
                 std::rotl(lanes[3], 18);
        for (const uint64_t lane : lanes) {
            digest = mergeLane(digest, lane);
        }
    }
    digest += bytes.size();
    for (; end - p >= 8; p += 8) {
        digest ^= round(0, word64(p));
        digest = std::rotl(digest, 27) * Prime1 + Prime4;
    }
    if (end - p >= 4) {
        digest ^= word32(p) * Prime1;
        digest = std::rotl(digest, 23) * Prime2 + Prime3;
        p += 4;
    }
    for (; p < end; ++p) {
        digest ^= static_cast<unsigned char>(*p) * Prime5;
        digest = std::rotl(digest, 11) * Prime1;
    }
    return avalanche(digest);
}

} // namespace krelwin
