#include "byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace krelwin {
namespace {

// Whole texts tested at once against the set, byte by byte here: sets that fit the 16-byte
// tables and one that does not, texts in whole blocks of 16 and with a tail.
TEST(ByteSet, HoldsAllExactlyWhenEveryByteIsAMember) {
    std::string manyKinds; // nine high nibbles, each with other low nibbles: too many kinds
    for (int high = 0; high < 9; ++high) {
        manyKinds += static_cast<char>(high * 16 + high);
    }
    const std::string sets[] = {std::string("\r\nS*+o#<>^v/-|\\=\"%&~W."), manyKinds,
                                std::string("\x80\xff\x00\x7f", 4)};
    std::mt19937 random(20);
    for (const std::string& members : sets) {
        const ByteSet set(members);
        for (const std::size_t length : {0, 1, 15, 16, 17, 64, 100}) {
            for (int round = 0; round < 50; ++round) {
                std::string text(length, members[0]);
                for (char& c : text) {
                    c = members[random() % members.size()];
                }
                if (round % 2 == 1 && length > 0) {
                    text[random() % length] = static_cast<char>(random() % 256); // most not in
                }
                const bool expected = std::all_of(text.begin(), text.end(), [&](char c) {
                    return members.find(c) != std::string::npos;
                });
                EXPECT_EQ(set.holdsAll(text), expected) << members << " " << text;
            }
        }
    }
}

TEST(ByteScan, CountsEachOfThreeBytesInOnePass) {
    std::string text(5000, '.');
    for (std::size_t i = 0; i < text.size(); i += 7) {
        text[i] = '*'; // 715 of them, sums running over the 255 steps of one lane
    }
    text[4999] = '\r';
    EXPECT_EQ(countEach<3>(text, {'*', '\r', '\n'}), (std::array<std::size_t, 3>{715, 1, 0}));
}

} // namespace
} // namespace krelwin
