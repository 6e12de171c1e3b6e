// Every stage of a pack named and found in one walk, past the hundredth too, and each loaded
// again from its place alone.
#include "errors.h"
#include "stage_places.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

class StagePlaces : public StageFileTest {};

TEST_F(StagePlaces, NameEveryStageAndLoadEachFromItsPlace) {
    // 120 stages of three sizes, the last one without a name, and before the first a line that
    // no stage reads.
    const int sizes[][2] = {{18, 10}, {25, 12}, {80, 80}};
    const char fills[] = {'+', 'o', '*'};
    std::string content = "a line before every stage\r\n";
    std::vector<std::string> names;
    for (int index = 0; index < 119; ++index) {
        names.push_back("Etap " + std::to_string(index));
        content +=
            simpleRecord(names.back(), sizes[index % 3][0], sizes[index % 3][1], fills[index % 3]);
    }
    content += simpleRecord("", 18, 10, '.');
    names.push_back("");
    write(content);

    const std::vector<StagePlace> places = readStagePlaces(path);
    ASSERT_EQ(places.size(), names.size());
    for (std::size_t index = 0; index < places.size(); ++index) {
        EXPECT_EQ(places[index].name, names[index]) << index;
        const bool last = index + 1 == places.size();
        const Etap expected =
            last ? simpleEtap(18, 10, '.')
                 : simpleEtap(sizes[index % 3][0], sizes[index % 3][1], fills[index % 3]);
        EXPECT_EQ(loadStageAt(path, places[index].linesStart), expected) << index;
    }
}

TEST_F(StagePlaces, AMissingFileIsReportedAsTheLoadReportsIt) {
    EXPECT_THROW(readStagePlaces(folder.file("none.map")), MissingFileMessage);
    EXPECT_THROW(loadStageAt(folder.file("none.map"), 0), MissingFileMessage);
    write("");
    EXPECT_TRUE(readStagePlaces(path).empty());
}

} // namespace
} // namespace krelwin::stagetest
