// What changed within a stage, as the game reads it: stored values (not their spelling), the
// type and colours, and the cells the stored size reads.
#include "stage_changes.h"

#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

const std::string Parameters =
    "18,10,010,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55,";

// A record's content: "}", the parameter line, "{", the rows.
std::string content(const std::string& parameters, const std::vector<std::string>& rows) {
    std::vector<std::string> lines{"}", parameters, "{"};
    lines.insert(lines.end(), rows.begin(), rows.end());
    return joinLines(lines);
}

std::string withField(std::string parameters, std::size_t column, const std::string& text) {
    return parameters.replace(column - 1, text.size(), text);
}

const std::vector<std::string> Rows(10, std::string(18, '+'));

TEST(StageChanges, ParametersAsStoredValues) {
    const std::string before = content(Parameters, Rows);
    const std::string changed =
        withField(withField(withField(Parameters, 7, "012"), 31, "B"), 33, "99");
    EXPECT_EQ(compareContents(before, content(changed, Rows)).parameters,
              (std::vector<ParameterChange>{
                  {"IleD", "10", "12"},
                  {"Typ", "Z", "B"},
                  {"Kolory", "„00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55”",
                   "„99,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55”"}}));
    // The same value spelt otherwise is no change; a field that does not convert is shown.
    EXPECT_TRUE(
        compareContents(before, content(withField(Parameters, 7, " 10"), Rows)).onlyUnreadBytes());
    EXPECT_EQ(compareContents(before, content(withField(Parameters, 11, "1a0"), Rows)).parameters,
              (std::vector<ParameterChange>{{"PktD", "10", "„1a0”"}}));
}

TEST(StageChanges, RowsWhoseCellsDiffer) {
    std::vector<std::string> rows = Rows;
    rows[2][3] = '*';
    rows[2][17] = 'W';
    const StageChanges cells =
        compareContents(content(Parameters, Rows), content(Parameters, rows));
    EXPECT_TRUE(cells.parameters.empty());
    EXPECT_EQ(cells.rows,
              (std::vector<RowChange>{{3, "++++++++++++++++++", "+++*+++++++++++++W", {4, 18}}}));
    // Two columns more: each row gains two cells; a row missing on one side has none there.
    std::vector<std::string> wider(10, std::string(20, '+'));
    wider.pop_back();
    const StageChanges grown =
        compareContents(content(Parameters, Rows), content(withField(Parameters, 1, "20"), wider));
    EXPECT_EQ(grown.parameters, (std::vector<ParameterChange>{{"Szer", "18", "20"}}));
    ASSERT_EQ(grown.rows.size(), 10u);
    EXPECT_EQ(grown.rows[0], (RowChange{1, std::string(18, '+'), std::string(20, '+'), {19, 20}}));
    EXPECT_EQ(grown.rows[9].after, "");
    EXPECT_EQ(grown.rows[9].columns.size(), 18u);
}

TEST(StageChanges, BytesTheGameDoesNotRead) {
    std::vector<std::string> longer = Rows;
    longer[0] += "xyz"; // past the width
    longer.push_back("surplus row");
    const StageChanges changes =
        compareContents(content(Parameters, Rows), content(Parameters + "tail", longer));
    EXPECT_TRUE(changes.onlyUnreadBytes());
}

} // namespace
} // namespace krelwin::stagetest
