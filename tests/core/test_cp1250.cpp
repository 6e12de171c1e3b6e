#include "cp1250.h"

#include <gtest/gtest.h>

#include <set>

namespace krelwin {
namespace {

TEST(Cp1250, EveryByteRoundTripsAndAsciiIsItself) {
    std::set<char32_t> seen;
    std::string allBytes;
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        const char32_t character = cp1250ToUnicode(byte);
        EXPECT_TRUE(seen.insert(character).second)
            << "two bytes give U+" << std::hex << uint32_t(character);
        EXPECT_EQ(unicodeToCp1250(character), byte) << value;
        if (value < 0x80) {
            EXPECT_EQ(character, char32_t(value));
        }
        allBytes.push_back(static_cast<char>(value));
    }
    EXPECT_EQ(encodeCp1250(decodeCp1250(allBytes)), allBytes);
}

TEST(Cp1250, PolishLettersAndOtherMarksHaveTheirBytes) {
    // Bytes the code page leaves undefined (0x81 ...) stand for the C1 controls of their value.
    const std::u32string characters =
        U"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ€„–Ř˙\u00A0\u0081\u0083\u0088\u0090\u0098";
    const std::string bytes = "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F"
                              "\xAF\x80\x84\x96\xD8\xFF\xA0\x81\x83\x88\x90\x98";
    ASSERT_EQ(characters.size(), bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        EXPECT_EQ(unicodeToCp1250(characters[i]), byte) << std::hex << uint32_t(characters[i]);
        EXPECT_EQ(cp1250ToUnicode(byte), characters[i]) << std::hex << int(byte);
    }
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
