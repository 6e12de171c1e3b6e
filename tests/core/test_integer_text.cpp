#include "integer_text.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

TEST(IntegerText, ConvertsSignedDecimalsAndRefusesEverythingElse) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"0", 0},
        {"007", 7},
        {"   12", 12},
        {"+5", 5},
        {"  -010", -10},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"00000000000000000000123", 123}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(parseInteger(text), value) << '"' << text << '"';
    }
    for (const char* refused :
         {"", "   ", "+", "-", "12 ", "1 2", "- 1", "+-1", "1,5", "1.5", "12a", "0x10",
          "2147483648", "-2147483649", "99999999999999999999"}) {
        EXPECT_EQ(parseInteger(refused), std::nullopt) << '"' << refused << '"';
    }
    EXPECT_EQ(parseInteger(std::string_view("12345", 2)), 12) << "the view's end, not a terminator";
}

} // namespace
} // namespace krelwin
