#include "cp1250.h"

#include <gtest/gtest.h>

#include <set>

namespace krelwin {
namespace {

TEST(Cp1250, EveryByteRoundTrips) {
    std::set<char32_t> seen;
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        const char32_t character = cp1250ToUnicode(byte);
        EXPECT_TRUE(seen.insert(character).second)
            << "two bytes give U+" << std::hex << uint32_t(character);
        EXPECT_EQ(unicodeToCp1250(character), byte) << value;
    }
}

TEST(Cp1250, AsciiIsItself) {
    for (char32_t c = 0; c < 0x80; ++c) {
        EXPECT_EQ(cp1250ToUnicode(static_cast<unsigned char>(c)), c);
    }
}

TEST(Cp1250, PolishLettersHaveTheirBytes) {
    const std::pair<char32_t, unsigned char> letters[] = {
        {U'ą', 0xB9}, {U'ć', 0xE6}, {U'ę', 0xEA}, {U'ł', 0xB3}, {U'ń', 0xF1}, {U'ó', 0xF3},
        {U'ś', 0x9C}, {U'ź', 0x9F}, {U'ż', 0xBF}, {U'Ą', 0xA5}, {U'Ć', 0xC6}, {U'Ę', 0xCA},
        {U'Ł', 0xA3}, {U'Ń', 0xD1}, {U'Ó', 0xD3}, {U'Ś', 0x8C}, {U'Ź', 0x8F}, {U'Ż', 0xAF},
    };
    for (auto [letter, byte] : letters) {
        EXPECT_EQ(unicodeToCp1250(letter), byte) << std::hex << uint32_t(letter);
        EXPECT_EQ(cp1250ToUnicode(byte), letter) << std::hex << int(byte);
    }
}

TEST(Cp1250, OtherMarksAndTheUndefinedBytes) {
    EXPECT_EQ(unicodeToCp1250(U'€'), 0x80);
    EXPECT_EQ(unicodeToCp1250(U'„'), 0x84);
    EXPECT_EQ(unicodeToCp1250(U'–'), 0x96);
    EXPECT_EQ(unicodeToCp1250(U'Ř'), 0xD8);
    EXPECT_EQ(unicodeToCp1250(U'˙'), 0xFF);
    EXPECT_EQ(unicodeToCp1250(U'\u00A0'), 0xA0);
    for (unsigned char undefined : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        EXPECT_EQ(cp1250ToUnicode(undefined), char32_t{undefined});
    }
}

TEST(Cp1250, CharactersOutsideTheCodePageAreRefused) {
    // U+0080 and U+0082 are the C1 controls whose bytes the code page gives to "€" and "‚".
    for (char32_t c :
         {U'中', U'ñ', U'\u0080', U'\u0082', U'\u20AD', U'\U0001F600', char32_t{0x110000}}) {
        EXPECT_FALSE(unicodeToCp1250(c).has_value()) << std::hex << uint32_t(c);
    }
}

TEST(Cp1250, StringsConvertBothWays) {
    const std::u32string name = U"Łąka źdźbeł Żółw";
    const auto bytes = encodeCp1250(name);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, "\xA3\xB9ka \x9F"
                      "d\x9F"
                      "be\xB3 \xAF\xF3\xB3w");
    EXPECT_EQ(decodeCp1250(*bytes), name);

    EXPECT_FALSE(encodeCp1250(U"Etap 中").has_value());
    EXPECT_EQ(encodeCp1250(U""), std::string());

    std::string allBytes;
    for (int value = 255; value >= 0; --value) {
        allBytes.push_back(static_cast<char>(value));
    }
    EXPECT_EQ(encodeCp1250(decodeCp1250(allBytes)), allBytes);
}

} // namespace
} // namespace krelwin
