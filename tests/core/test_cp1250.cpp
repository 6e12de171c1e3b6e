#include "cp1250.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <optional>

namespace krelwin {
namespace {

// What glibc's iconv makes of one Windows-1250 byte: its character, or nothing for a byte the
// code page leaves undefined.
std::optional<char32_t> iconvCharacter(iconv_t converter, unsigned char byte) {
    char in = static_cast<char>(byte);
    unsigned char out[4] = {};
    char* inAt = &in;
    char* outAt = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    if (iconv(converter, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    return char32_t(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
}

TEST(Cp1250, EveryByteIsIconvsWindows1250AndRoundTrips) {
    const iconv_t converter = iconv_open("UTF-32LE", "WINDOWS-1250");
    ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1)) << "glibc's WINDOWS-1250 converter";
    std::string undefined;
    std::string allBytes;
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        const char32_t character = cp1250ToUnicode(byte);
        if (const std::optional<char32_t> expected = iconvCharacter(converter, byte)) {
            EXPECT_EQ(uint32_t(character), uint32_t(*expected)) << std::hex << value;
        } else { // the C1 control character of the same value, so that no byte is lost
            undefined.push_back(static_cast<char>(value));
            EXPECT_EQ(uint32_t(character), uint32_t(value));
        }
        EXPECT_EQ(unicodeToCp1250(character), byte) << std::hex << value;
        allBytes.push_back(static_cast<char>(value));
    }
    iconv_close(converter);
    EXPECT_EQ(undefined, "\x81\x83\x88\x90\x98");
    EXPECT_EQ(encodeCp1250(decodeCp1250(allBytes)), allBytes);
}

TEST(Cp1250, StringsConvertBothWaysAndForeignCharactersAreRefused) {
    const std::u32string name = U"Łąka źdźbeł Żółw";
    const auto bytes = encodeCp1250(name);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, "\xA3\xB9ka \x9F"
                      "d\x9F"
                      "be\xB3 \xAF\xF3\xB3w");
    EXPECT_EQ(decodeCp1250(*bytes), name);
    EXPECT_EQ(encodeCp1250(U""), std::string());
    EXPECT_FALSE(encodeCp1250(U"Etap 中").has_value());
    // U+0080 and U+0082 are the C1 controls whose bytes the code page gives to "€" and "‚".
    for (char32_t c : {U'ñ', U'\u0080', U'\u0082', U'\u20AD', U'\U0001F600', char32_t{0x110000}}) {
        EXPECT_FALSE(unicodeToCp1250(c).has_value()) << std::hex << uint32_t(c);
    }
}

} // namespace
} // namespace krelwin
