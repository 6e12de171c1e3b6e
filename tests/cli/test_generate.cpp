#include "cli_runner.h"

#include <algorithm>

namespace krelwin::cli_test {
namespace {

const std::string DefaultColours = "00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55";

// The record's lines without their CR LF; fails the test on any other line end.
std::vector<std::string> recordLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

using GenerateCommand = CliTest;

TEST_F(GenerateCommand, SeedZeroAndDefaultSharesGiveTheKnownFirstColumn) {
    const Outcome outcome = run({"generate", "--seed", "0"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
    const std::vector<std::string> lines = recordLines(outcome.out);
    ASSERT_EQ(lines.size(), 4u + 20u);
    EXPECT_EQ(lines[0], "(Etap 01)");
    EXPECT_EQ(lines[1], "}");
    EXPECT_EQ(lines[2], "32,20,010,010,010,010,010,100,Z," + DefaultColours + ",");
    EXPECT_EQ(lines[3], "{");
    std::string firstColumn;
    for (std::size_t row = 1; row <= 8; ++row) {
        firstColumn += lines[3 + row].at(0);
    }
    EXPECT_EQ(firstColumn, "*++#++.o");
    for (std::size_t row = 4; row < lines.size(); ++row) {
        EXPECT_EQ(lines[row].size(), 32u);
        EXPECT_EQ(lines[row].find_first_not_of("*+o#<>^v/-|\\=."), std::string::npos);
    }
}

TEST_F(GenerateCommand, TheSameSeedGivesTheSameStage) {
    const Outcome first = run({"generate", "--seed", "4294967295", "--size", "40x30"});
    const Outcome second = run({"generate", "--seed=4294967295", "--size=40x30"});
    const Outcome other = run({"generate", "--seed", "4294967294", "--size", "40x30"});
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, second.out);
    EXPECT_NE(first.out, other.out);
}

TEST_F(GenerateCommand, ZeroSharesGiveAnEmptyStage) {
    const Outcome outcome = run({"generate", "--seed", "7", "--size", "18x10", "--shares",
                                 "0,0,0,0,0,0,0,0,0,0,0", "--name", "Pusta"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, record("(Pusta)", DefaultParameters,
                                  std::vector<std::string>(10, std::string(18, '.'))));
}

TEST_F(GenerateCommand, SharesOfAHundredOrMoreLeaveNoEmptyCell) {
    const Outcome outcome = run({"generate", "--seed", "1", "--shares", "0,99,99,0,0,0,0,0,0,0,0"});
    const std::vector<std::string> lines = recordLines(outcome.out);
    ASSERT_EQ(lines.size(), 24u);
    for (std::size_t row = 4; row < lines.size(); ++row) {
        EXPECT_EQ(lines[row].find_first_not_of("+o"), std::string::npos) << lines[row];
    }
}

TEST_F(GenerateCommand, TheSizeGoesThroughTheParameterPass) {
    const std::vector<std::tuple<std::string, std::string, std::size_t, std::size_t>> sizes{
        {"5x99", "18,80,", 18, 80}, {"80x10", "80,10,", 80, 10}, {"-3x0", "18,10,", 18, 10}};
    for (const auto& [size, start, width, height] : sizes) {
        const Outcome outcome = run({"generate", "--seed", "0", "--size", size});
        EXPECT_EQ(outcome.exitCode, 0) << size;
        const std::vector<std::string> lines = recordLines(outcome.out);
        ASSERT_EQ(lines.size(), 4 + height) << size;
        EXPECT_TRUE(lines[2].starts_with(start)) << lines[2];
        EXPECT_EQ(lines[4].size(), width) << size;
        EXPECT_EQ(lines.back().size(), width) << size;
    }
}

TEST_F(GenerateCommand, WithoutASeedTheClockSeedsIt) {
    const Outcome outcome = run({"generate"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(recordLines(outcome.out).size(), 24u);
}

TEST_F(GenerateCommand, RefusesANameTheEditorCouldNotWrite) {
    const Outcome outcome = run({"generate", "--seed", "0", "--name", "Etap }"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_FALSE(outcome.err.empty());
}

} // namespace
} // namespace krelwin::cli_test
