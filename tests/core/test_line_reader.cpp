#include "errors.h"
#include "line_reader.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

using Lines = std::vector<std::string>;

constexpr std::size_t Block = 256 * 1024; // the reader's block size
const std::string AlmostABlock(Block - 1, 'a');
// The line-end rules as the stage file reads show them are tested there; these are the cases
// that only the reader itself reaches, block boundaries above all.
TEST(LineReader, SplitsTheFileByTheTextFileConventions) {
    const std::pair<std::string, Lines> cases[] = {
        {"a\n\r\nb", {"a\n", "b"}}, // a LF before a CR is content
        {"a\r\n\nb\r\n", {"a", "\nb"}},
        {"\r\n\r\r\n", {"", "", ""}},
        {"a\r\nb\x1a\r\nc\r\n", {"a", "b"}},
        {std::string("\xff\x01\t\0z\r", 6), {std::string("\xff\x01\t\0z", 5)}},
        // A CR LF split across two blocks is one line end.
        {AlmostABlock + "\r\nb\r\n", {AlmostABlock, "b"}},
        {AlmostABlock + "\r\n", {AlmostABlock}},
        {std::string(Block + 3, 'q') + "\x1aqqq", {std::string(Block + 3, 'q')}}};
    TempFolder folder;
    for (const auto& [bytes, expected] : cases) {
        writeBytes(folder.file("f"), bytes);
        LineReader reader(folder.file("f"));
        Lines lines;
        for (std::string line; reader.readLine(line);) {
            lines.push_back(line);
        }
        EXPECT_EQ(lines, expected) << bytes.size() << " bytes";
        EXPECT_TRUE(reader.atEnd());
    }
}

TEST(LineReader, ReadingPastTheEndGivesEmptyLinesAndAMissingFileIsNotFound) {
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
    try {
        LineReader missing(folder.file("none"));
        ADD_FAILURE() << "opened a missing file";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
}

TEST(LineReader, TellsWhetherBytesFollowTheEndMark) {
    const std::pair<std::string, bool> cases[] = {{"a\r\n", false},
                                                  {"a\r\n\x1a", false},
                                                  {"a\r\n\x1a\r\n", true},
                                                  {AlmostABlock + "\x1a", false},
                                                  {AlmostABlock + "\x1a" + "b", true}};
    for (const auto& [bytes, after] : cases) {
        TempFolder folder;
        writeBytes(folder.file("f"), bytes);
        LineReader reader(folder.file("f"));
        for (std::string line; reader.readLine(line);) {
        }
        EXPECT_EQ(reader.hasBytesAfterEndMark(), after) << bytes.size();
    }
}

} // namespace
} // namespace krelwin::stagetest
