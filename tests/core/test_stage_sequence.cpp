// Loading every stage of a file in one pass: the stages in order, the same stages as a load by
// index gives, also where a stray "}" starts a stage within another, and the first failure.
#include "errors.h"
#include "stage_file.h"
#include "stage_locator.h"
#include "stage_sequence.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

class StageSequence : public StageFileTest {
protected:
    std::vector<Etap> loadAll() const {
        std::vector<Etap> stages;
        forEachStage(path, [&](int index, const Etap& etap) {
            EXPECT_EQ(index, int(stages.size()));
            stages.push_back(etap);
        });
        return stages;
    }
    Etap loadOne(int index) const {
        Etap etap;
        CzytajEtap(path, index, etap);
        return etap;
    }
};

TEST_F(StageSequence, LoadsEveryStageInFileOrder) {
    const Etap sa = simpleEtap(18, 10, '+'), sb = simpleEtap(25, 12, 'o');
    const std::pair<std::string, std::vector<Etap>> cases[] = {
        {a + b + c, {sa, sb, simpleEtap(18, 11, '.')}},
        {simpleRecord("a", 18, 10, '+', "\r") + simpleRecord("b", 25, 12, 'o', "\r"), {sa, sb}},
        {a + "\x1a" + b, {sa}},
        {"", {}},
        {"no stage here\r\n", {}},
    };
    for (const auto& [content, stages] : cases) {
        write(content);
        EXPECT_EQ(loadAll(), stages) << ::testing::PrintToString(content);
    }
}

// Row 1 of "odd" is a "}" line, so the next stage starts inside it: its parameter line is odd's
// row 2, its rows odd's rows 4 to 12 and the name line of the record after it.
std::string oddRecord() {
    std::vector<std::string> odd{"(odd)", "}", "18,12,010,010,010,010,010,100,Z,c,",
                                 "{",     "}", "18,10,010,010,010,010,010,100,Z,c,",
                                 "{"};
    for (int row = 4; row <= 12; ++row)
        odd.push_back(std::string(18, row % 2 ? 'o' : '*'));
    return joinLines(odd);
}

TEST_F(StageSequence, StrayRecordLinesAndShortStagesLoadAsTheLoadByIndexLoadsThem) {
    // The stage after odd's stray "}" takes the name line of "c" as its tenth row. The last
    // stage ends before its rows do.
    write(a + oddRecord() + c +
          joinLines({"(short)", "}", "20,15,010,010,010,010,010,100,B,c,", "{", "+S"}));
    const std::vector<Etap> stages = loadAll();
    ASSERT_EQ(stages.size(), 5u);
    for (int index = 0; index < 5; ++index)
        EXPECT_EQ(stages[index], loadOne(index)) << index;
    EXPECT_EQ(stages[2].plansza.at(1, 10), '(') << "the name line of c, as the tenth row";
    EXPECT_EQ(stages[3], simpleEtap(18, 11, '.'));
}

TEST_F(StageSequence, PacksLargerThanAReadBlockLoadAsTheLoadByIndexLoadsThem) {
    // The file is read in blocks of 256 KiB at most. Each case puts a stage's bytes across the
    // first block's end at the given offset within the record.
    constexpr std::size_t BlockEnd = 256 * 1024;
    const std::string crOnly = simpleRecord("a", 18, 10, '+', "\r");
    const std::string odd = oddRecord();
    const std::pair<std::string, std::size_t> cases[] = {
        {a, 6},                        // "(a)\r\n}\r" | "\n": the CR LF after "}" split
        {crOnly, 6},                   // "(a)\r}\r" | parameter line: a CR alone ends the block
        {odd, odd.size() - 30},        // within odd's last rows: the next stage starts back before
        {odd, odd.find("}\r\n18,10")}, // at the stray "}" line itself
    };
    for (const auto& [record, before] : cases) {
        std::string content;
        while (content.size() + 2000 < BlockEnd)
            content += a + odd + c;
        // A line after c's rows, which no stage reads, brings the record to its place.
        content += std::string(BlockEnd - before - content.size() - 2, 'x') + "\r\n";
        content += record;
        ASSERT_EQ(content.size() - record.size() + before, BlockEnd);
        for (int i = 0; i < 8; ++i)
            content += b + odd;
        write(content);
        const std::vector<Etap> stages = loadAll();
        ASSERT_EQ(long(stages.size()), countStages(path));
        // The stages about the block's end and after it; the ones before lie in one block.
        for (int index = int(stages.size()) - 30; index < int(stages.size()); ++index)
            EXPECT_EQ(stages[index], loadOne(index)) << index << " " << before;
    }
}

TEST_F(StageSequence, StopsAtTheFirstStageThatDoesNotLoadAfterPassingOnTheOnesBefore) {
    write(a + joinLines({"(x)", "}", "1x,10,010,010,010,010,010,100,Z,c,", "{"}) + b);
    std::vector<Etap> passed;
    try {
        forEachStage(path, [&](int, const Etap& etap) { passed.push_back(etap); });
        ADD_FAILURE() << "every stage loaded";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'1x' is not a valid integer value");
    }
    EXPECT_EQ(passed, std::vector<Etap>{simpleEtap(18, 10, '+')});
    bool called = false;
    EXPECT_THROW(forEachStage(folder.file("none.map"), [&](int, const Etap&) { called = true; }),
                 MissingFileMessage);
    EXPECT_FALSE(called);
}

} // namespace
} // namespace krelwin::stagetest
