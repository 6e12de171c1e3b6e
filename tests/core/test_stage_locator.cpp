#include "file_system.h"
#include "stage_locator.h"
#include "test_stage_file_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

constexpr std::size_t Block = 256 * 1024; // the locator's block size
const std::string AlmostABlock(Block - 1, 'a');

// One stage as found: where its name line, "}" line and the line after start, whether bytes
// follow its "}" line, its name line and where its record ends (-1: at the end of the file).
struct Found {
    off_t nameLine, braceLine, afterBraceLine;
    bool moreFollows;
    std::string nameLineText;
    off_t recordEnd;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
    return out << "{" << f.nameLine << ", " << f.braceLine << ", " << f.afterBraceLine << ", "
               << f.moreFollows << ", \"" << f.nameLineText << "\", " << f.recordEnd << "}";
}

std::vector<Found> walk(StageLocator& stages) {
    std::vector<Found> found;
    while (const std::optional<StageSpan> span = stages.next()) {
        EXPECT_EQ(span->index, static_cast<long>(found.size()));
        const std::optional<off_t> end = stages.recordEnd(*span);
        found.push_back({span->nameLine, span->braceLine, span->afterBraceLine, span->moreFollows,
                         stages.nameLineText(*span), end.value_or(-1)});
    }
    return found;
}

TEST(StageLocator, FindsEachStageByItsBraceLineOnDiskAndInMemory) {
    const off_t B = static_cast<off_t>(Block);
    const std::pair<std::string, std::vector<Found>> cases[] = {
        {"(a)\r\n}\r\np\r\n(b)\r\n}\r\nq\r\n",
         {{0, 5, 8, true, "(a)", 11}, {11, 16, 19, true, "(b)", -1}}},
        // CR alone, an LF that is content, a "}" line that is the file's first and its last.
        {"}\rx\n(y)\r}}\r", {{0, 0, 2, true, "", 2}, {2, 8, 11, false, "x\n(y)", -1}}},
        // A last "}" line without a line end, holding "(" too: nothing follows it.
        {"(a}", {{0, 0, 3, false, "", -1}}},
        // Two "}" lines in a row: the second's name line is the first.
        {"(a)\r\n}\r\n}\r\n(c)\r\n", {{0, 5, 8, true, "(a)", 11}, {5, 8, 11, true, "}", 11}}},
        // Nothing at or after a byte 26 is seen.
        {"(a)\r\n}\r\nr\x1a(b)\r\n}\r\n", {{0, 5, 8, true, "(a)", -1}}},
        // A CR LF split between two blocks, before a name line and after a "}" line.
        {AlmostABlock + "\r\n(n)\r\n}\r\n", {{B + 1, B + 6, B + 9, false, "(n)", -1}}},
        {"(n)\r\n" + std::string(Block - 6, '}') + "\r\n(m)\r\n",
         {{0, 5, B + 1, true, "(n)", B + 1}}},
        // A name line that runs over several blocks.
        {"(" + std::string(2 * Block, 'n') + ")\r\n}\r\n",
         {{0, 2 * B + 4, 2 * B + 7, false, "(" + std::string(2 * Block, 'n') + ")", -1}}},
        {"no stage\r\n(here)\r\n", {}}};
    TempFolder folder;
    for (const auto& [bytes, expected] : cases) {
        writeBytes(folder.file("f"), bytes);
        const FileDescriptor fd = openFile(folder.file("f"), O_RDONLY);
        StageLocator onDisk(fd.get());
        EXPECT_EQ(walk(onDisk), expected) << bytes.size() << " bytes";
        EXPECT_EQ(onDisk.stagesFound(), static_cast<long>(expected.size()));
        const std::string text = bytes.substr(0, bytes.find('\x1a'));
        StageLocator inMemory(text);
        EXPECT_EQ(walk(inMemory), expected) << bytes.size() << " bytes in memory";
    }
}

TEST(StageLocator, FindsAStageByIndexCountsThemAllAndHandsOverEveryBlock) {
    TempFolder folder;
    std::string bytes;
    for (int i = 0; i < 150; ++i) {
        bytes += simpleRecord("E" + std::to_string(i), 80, 80, '+');
    }
    writeBytes(folder.file("f"), bytes + "\x1a" + "after");
    const FileDescriptor fd = openFile(folder.file("f"), O_RDONLY);
    StageLocator stages(fd.get());
    const std::optional<StageSpan> span = stages.find(120);
    ASSERT_TRUE(span);
    EXPECT_EQ(stages.nameLineText(*span), "(E120)");
    EXPECT_EQ(listedName(stages, *span), "E120");
    EXPECT_FALSE(stages.find(150));
    EXPECT_EQ(stages.stagesFound(), 150);
    EXPECT_TRUE(stages.hasBytesAfterEndMark());

    StageLocator again(fd.get());
    std::string seen;
    again.onBlock([&](std::string_view block) { seen.append(block); });
    EXPECT_EQ(again.countAll(), 150);
    EXPECT_EQ(seen, bytes);
    EXPECT_EQ(countStages(folder.file("f")), 150);
}

} // namespace
} // namespace krelwin::stagetest
