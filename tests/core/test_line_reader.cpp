#include "errors.h"
#include "line_reader.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

using testing::TempFolder;
using testing::writeBytes;
using Lines = std::vector<std::string>;

constexpr std::size_t Block = 256 * 1024; // the reader's block size

Lines readAllLines(const std::string& path) {
    LineReader reader(path);
    Lines lines;
    std::string line;
    while (reader.readLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

struct LinesCase {
    const char* title;
    std::string bytes;
    Lines lines;
};

class TextConventions : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextConventions, SplitsTheFileIntoTheseLines) {
    TempFolder folder;
    const std::string path = folder.file("f.map");
    writeBytes(path, GetParam().bytes);
    EXPECT_EQ(readAllLines(path), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextConventions,
    ::testing::Values(LinesCase{"Empty", "", {}}, LinesCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      LinesCase{"CrOnly", "a\rb\r", {"a", "b"}},
                      LinesCase{"LfOnlyIsOneLine", "a\nb\n", {"a\nb\n"}},
                      LinesCase{"LfBeforeCrIsContent", "a\n\r\nb", {"a\n", "b"}},
                      LinesCase{"SecondLfIsContent", "a\r\n\nb\r\n", {"a", "\nb"}},
                      LinesCase{"EmptyLines", "\r\n\r\r\n", {"", "", ""}},
                      LinesCase{"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
                      LinesCase{
                          "EndMarkEndsTheFile", std::string("a\r\nb\x1a\r\nc\r\n"), {"a", "b"}},
                      LinesCase{"EndMarkAfterLineEnd", std::string("a\r\n\x1a"), {"a"}},
                      LinesCase{"OnlyEndMark", std::string("\x1a"), {}},
                      LinesCase{"AnyByteCarried",
                                std::string("\xff\x01\t\0z\r", 6),
                                {std::string("\xff\x01\t\0z", 5)}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(LineReader, ReadingPastTheEndGivesEmptyLines) {
    TempFolder folder;
    writeBytes(folder.file("f"), "only\r\n");
    LineReader reader(folder.file("f"));
    std::string line;
    EXPECT_FALSE(reader.atEnd());
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "only");
    EXPECT_TRUE(reader.atEnd());
    line = "stale";
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(reader.readLine(line));
}

TEST(LineReader, ALineEndSplitAcrossBlocksIsOneLineEnd) {
    // CR is the last byte of the first block and its LF the first byte of the next.
    TempFolder folder;
    const std::string first(Block - 1, 'a');
    writeBytes(folder.file("f"), first + "\r\nb\r\n");
    EXPECT_EQ(readAllLines(folder.file("f")), (Lines{first, "b"}));

    LineReader reader(folder.file("f"));
    std::string line;
    reader.readLine(line);
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "b");
    EXPECT_TRUE(reader.atEnd());
}

TEST(LineReader, AFinalLineEndSplitAcrossBlocksGivesNoExtraLine) {
    TempFolder folder;
    const std::string first(Block - 1, 'a');
    writeBytes(folder.file("f"), first + "\r\n");
    LineReader reader(folder.file("f"));
    std::string line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line.size(), first.size());
    EXPECT_TRUE(reader.atEnd());
}

TEST(LineReader, ReadsLinesOfSeveralMegabytesWhole) {
    TempFolder folder;
    std::string big(3 * 1024 * 1024 + 17, 'x');
    big[Block] = '}';
    writeBytes(folder.file("f"), "s\r" + big + "\r\nt");
    EXPECT_EQ(readAllLines(folder.file("f")), (Lines{"s", big, "t"}));
}

TEST(LineReader, EndMarkInALaterBlockEndsTheFileThere) {
    TempFolder folder;
    std::string text(Block + 10, 'q');
    text[Block + 3] = 26;
    writeBytes(folder.file("f"), text);
    const Lines lines = readAllLines(folder.file("f"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), Block + 3);
}

TEST(LineReader, TellsWhetherBytesFollowTheEndMark) {
    struct Case {
        std::string bytes;
        bool after;
    };
    const Case cases[] = {{"a\r\n", false},
                          {"a\r\n\x1a", false},
                          {"a\r\n\x1a\r\n", true},
                          {std::string(Block - 1, 'a') + "\x1a", false},
                          {std::string(Block - 1, 'a') + "\x1a" + "b", true}};
    for (const Case& c : cases) {
        TempFolder folder;
        writeBytes(folder.file("f"), c.bytes);
        LineReader reader(folder.file("f"));
        std::string line;
        while (reader.readLine(line)) {
        }
        EXPECT_EQ(reader.hasBytesAfterEndMark(), c.after) << c.bytes.size();
    }
}

TEST(LineReader, SkipsToTheLineHoldingTheNthMarker) {
    TempFolder folder;
    writeBytes(folder.file("f"), "a}\r\nb\r\n}c}\r\nd\re}\r\nf\r\n");
    LineReader reader(folder.file("f"));
    EXPECT_EQ(reader.skipLinesHolding('}', 2), 2);
    std::string line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "d");
    EXPECT_EQ(reader.skipLinesHolding('}', 5), 1);
    EXPECT_FALSE(reader.readLine(line));
}

TEST(LineReader, SkippingAcrossBlocksKeepsTheLineEndWhole) {
    TempFolder folder;
    // No marker in the first block, which ends in the CR of a CR LF.
    const std::string filler(Block - 1, '.');
    writeBytes(folder.file("f"), filler + "\r\n}\r\nnext\r\n");
    LineReader reader(folder.file("f"));
    EXPECT_EQ(reader.skipLinesHolding('}', 1), 1);
    std::string line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "next");
}

TEST(LineReader, SkippingAMarkerOnTheLastLineReachesTheEnd) {
    TempFolder folder;
    writeBytes(folder.file("f"), "x\r\n}");
    LineReader reader(folder.file("f"));
    EXPECT_EQ(reader.skipLinesHolding('}', 1), 1);
    EXPECT_TRUE(reader.atEnd());
}

TEST(LineReader, RawBlocksStopAtTheEndMarkAndFollowTheLastLine) {
    TempFolder folder;
    writeBytes(folder.file("f"), std::string("one\r\ntwo\rthree\x1a tail"));
    LineReader reader(folder.file("f"));
    std::string line;
    reader.readLine(line);
    std::string rest;
    std::string_view block;
    while (reader.readRawBlock(block)) {
        rest += block;
    }
    EXPECT_EQ(rest, "two\rthree");
}

TEST(LineReader, MissingFileIsFileNotFound) {
    TempFolder folder;
    try {
        LineReader reader(folder.file("none"));
        FAIL() << "opened a missing file";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
}

} // namespace
} // namespace krelwin
