#include "cell_kinds.h"

#include <gtest/gtest.h>

#include <string>

namespace krelwin {
namespace {

TEST(CellKinds, EachCodeHasTheNameOfItsToolbarHintAndListsInToolbarOrder) {
    const std::pair<char, std::string> named[] = {{'S', "Pozycja startowa"},
                                                  {'*', "Diament"},
                                                  {'+', "Ziemia"},
                                                  {'o', "Kamień"},
                                                  {'#', "Nit"},
                                                  {'<', "Motyl"},
                                                  {'>', "Motyl"},
                                                  {'^', "Motyl"},
                                                  {'v', "Motyl"},
                                                  {'/', "Potwór"},
                                                  {'-', "Potwór"},
                                                  {'|', "Potwór"},
                                                  {'\\', "Potwór"},
                                                  {'=', "Mur"},
                                                  {'"', "Diamentowy mur"},
                                                  {'%', "Mur rozszerzalny"},
                                                  {'&', "Lawa rosnąca"},
                                                  {'~', "Lawa przepuszczająca"},
                                                  {'W', "Wyjście"},
                                                  {'.', "Puste pole"},
                                                  {'x', "Nieznane pole"},
                                                  {'\0', "Nieznane pole"},
                                                  {'V', "Nieznane pole"},
                                                  {'\xb3', "Nieznane pole"}};
    for (const auto& [code, name] : named) {
        EXPECT_EQ(kindNameOf(code), name) << code;
    }
    const std::array<char, 256>& order = codesInListingOrder();
    EXPECT_EQ(std::string(order.begin(), order.begin() + 23),
              std::string("S*+o#<>^v/-|\\=\"%&~W.\0\1\2", 23));
    EXPECT_EQ(order[255], '\xff');
    int unknown = 0;
    for (int value = 0; value < 256; ++value) {
        unknown += isKnownCode(static_cast<char>(value)) ? 0 : 1;
    }
    EXPECT_EQ(unknown, 256 - 20);
}

TEST(CellKinds, CodesOutsidePrintableAsciiShowEscaped) {
    const std::pair<char, std::string> shown[] = {
        {'S', "S"},        {'\\', "\\"},      {'~', "~"},        {'!', "!"},
        {' ', "\\x20"},    {'\0', "\\x00"},   {'\x1a', "\\x1A"}, {'\n', "\\x0A"},
        {'\x7f', "\\x7F"}, {'\xb3', "\\xB3"}, {'\xff', "\\xFF"}};
    for (const auto& [code, text] : shown) {
        EXPECT_EQ(shownCode(code), text);
    }
}

} // namespace
} // namespace krelwin
