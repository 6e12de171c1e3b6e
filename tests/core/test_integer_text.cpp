#include "integer_text.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

struct ParseCase {
    const char* text;
    std::optional<int32_t> value;
};

const ParseCase Cases[] = {
    {"0", 0},
    {"42", 42},
    {"007", 7},
    {"   12", 12},
    {"+5", 5},
    {"-5", -5},
    {"  -010", -10},
    {"2147483647", 2147483647},
    {"-2147483648", INT32_MIN},
    {"00000000000000000000123", 123},
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"12 ", std::nullopt},
    {"1 2", std::nullopt},
    {"- 1", std::nullopt},
    {"+-1", std::nullopt},
    {"1,5", std::nullopt},
    {"1.5", std::nullopt},
    {"abc", std::nullopt},
    {"12a", std::nullopt},
    {"0x10", std::nullopt},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999", std::nullopt},
};

TEST(IntegerText, ConvertsSignedDecimalsAndRefusesEverythingElse) {
    for (const auto& c : Cases) {
        EXPECT_EQ(parseInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(IntegerText, StopsAtTheViewsEndNotAtATerminator) {
    const std::string_view text("12345", 2);
    EXPECT_EQ(parseInteger(text), 12);
}

} // namespace
} // namespace krelwin
