// Two packs read once each and compared stage by stage: line ends the game reads alike make no
// difference, and a pack with stray markers is compared record by record as they are counted.
#include "file_system.h"
#include "pack_comparison.h"
#include "stage_changes.h"
#include "test_stage_file_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

using Kind = StageEvent::Kind;

std::string crOnly(std::string text) {
    std::erase(text, '\n');
    return text;
}

class PackComparisonTest : public StageFileTest {
protected:
    std::string other = folder.file("other.map");

    PackIndex index(const std::string& content) {
        write(content);
        const FileDescriptor fd = openStageFile(path, O_RDONLY);
        return indexPack(fd.get());
    }
};

TEST_F(PackComparisonTest, ReadsLineEndsAsTheGameDoes) {
    const std::vector<StageIdentity> stages = index(a + b + c).stages;
    ASSERT_EQ(stages.size(), 3u);
    EXPECT_EQ(stages[1].nameLine, "(bb)");
    EXPECT_EQ(stages[1].contentLength, b.size() - std::string("(bb)\r\n").size());
    // A CR alone, a last line without a line end and a byte 26 at the end read the same.
    EXPECT_EQ(index(crOnly(a + b + c)).stages, stages);
    EXPECT_EQ(index(a + b + c.substr(0, c.size() - 2) + "\x1a").stages, stages);
    // A CR LF, or a CR alone, across the end of a 256 KiB block of the reading.
    const std::string longName(256 * 1024 - 3, 'n');
    const std::string first = simpleRecord(longName, 18, 10, '+');
    const std::vector<StageIdentity> across = index(first + b).stages;
    EXPECT_EQ(across[0].nameLine, "(" + longName + ")");
    EXPECT_EQ(index(crOnly(first + b)).stages, across);
    const PackIndex odd = index("przedmowa\r\n" + a + b + "\x1a" + "reszta");
    EXPECT_TRUE(odd.linesBeforeFirstStage);
    EXPECT_TRUE(odd.bytesAfterEndMark);
    EXPECT_FALSE(index(a).linesBeforeFirstStage);
    EXPECT_TRUE(index("tekst bez etapu\r\n").linesBeforeFirstStage);
}

TEST_F(PackComparisonTest, ListsTheStagesThatDifferInTheNewOrder) {
    const std::string d = simpleRecord("d", 20, 10, 'o');
    const std::string e = simpleRecord("e", 20, 10, '*');
    write(a + b + c + d);
    writeBytes(other, b + simpleRecord("z", 18, 10, '+') + simpleRecord("c", 18, 11, '*') + e);
    PackComparison comparison(path, other);
    EXPECT_EQ(comparison.events(), (std::vector<StageEvent>{
                                       {Kind::Kept, 0, 1, true, true, false},
                                       {Kind::Kept, 2, 2, false, false, true},
                                       {Kind::Removed, 3, Unpaired},
                                       {Kind::Added, Unpaired, 3},
                                   }));
    const auto [before, after] = comparison.contents(comparison.events()[1]);
    EXPECT_EQ("(c)\r\n" + before, c);
    EXPECT_EQ("(c)\r\n" + after, simpleRecord("c", 18, 11, '*'));
    EXPECT_TRUE(PackComparison(path, path).sameStages());
    EXPECT_EQ(PackComparison(std::nullopt, path).events().size(), 4u);
}

TEST_F(PackComparisonTest, ComparesStrayMarkersRecordByRecord) {
    // A "}" in row 5 of bb makes the line before it (row 4) the name line of one more stage.
    std::string broken = b;
    const std::size_t row5 = broken.find("\r\n{\r\n") + 5 + 4 * 27;
    broken[row5 + 3] = '}';
    write(a + b + c);
    writeBytes(other, a + broken + c);
    PackComparison comparison(path, other);
    ASSERT_EQ(comparison.events(), (std::vector<StageEvent>{
                                       {Kind::Kept, 1, 1, false, false, true},
                                       {Kind::Added, Unpaired, 2},
                                   }));
    EXPECT_EQ(shownName(comparison.newStage(2)), std::string(23, 'o'));
    const auto [before, after] = comparison.contents(comparison.events()[0]);
    const StageChanges changes = compareContents(before, after);
    ASSERT_EQ(changes.rows.size(), 9u); // rows 4 to 12 are not in the record any more
    EXPECT_EQ(changes.rows[0].row, 4);
    EXPECT_EQ(changes.rows[0].after, "");
}

} // namespace
} // namespace krelwin::stagetest
