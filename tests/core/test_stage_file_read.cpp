#include "errors.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>
#include <tuple>

namespace krelwin::stagetest {
namespace {

using Names = std::vector<std::string>;

class StageFileRead : public StageFileTest {
protected:
    Etap load(int index) {
        Etap etap;
        CzytajEtap(path, index, etap);
        return etap;
    }
    // The stage of a record "(t)" whose lines after its "}" line are given.
    Etap loadRecord(const std::vector<std::string>& linesAfterBrace) {
        std::vector<std::string> lines = {"(t)", "}"};
        lines.insert(lines.end(), linesAfterBrace.begin(), linesAfterBrace.end());
        write(joinLines(lines));
        return load(0);
    }
};

TEST_F(StageFileRead, ListsNamesByTheLineEndRulesAndByte26) {
    const std::pair<std::string, Names> cases[] = {
        {a + simpleRecord("", 18, 10, '.') + simpleRecord("Etap (2)", 20, 12, 'o') +
             simpleRecord(" x ", 18, 10, '+'),
         {"a", "", "Etap (2)", " x "}},
        {simpleRecord("a", 18, 10, '+', "\r") + simpleRecord("b", 19, 11, 'o', "\r"), {"a", "b"}},
        {simpleRecord("a", 18, 10, '+', "\n") + simpleRecord("b", 18, 10, '+', "\n"), {}},
        {"(a)\r\n}\r\n", {}}, // a "}" line at the very end adds nothing
        {"(a)\r\n}\r\nx", {"a"}},
        {"(a)\r\n}", {}},
        // Each "}" names the stage by the line before it; "{" and "ab" are too short to hold one.
        {joinLines({"junk", "(first)", "}", "p", "{", "}", "p", "ab", "}", "p"}),
         {"first", "", ""}},
        {a + "\x1a", {"a"}},
        {a + "\x1a" + simpleRecord("hidden", 18, 10, '+'), {"a"}},
        {"\x1a", {}},
    };
    for (const auto& [content, names] : cases) {
        write(content);
        EXPECT_EQ(CzytajListeEtapow(path), names) << ::testing::PrintToString(content);
    }
}

TEST_F(StageFileRead, LoadsTheExampleAndFirstMiddleAndLastStage) {
    write(exampleRecord() + simpleRecord("b", 40, 30, 'o') + simpleRecord("c", 80, 80, '.'));
    EXPECT_EQ(load(0), exampleEtap());
    EXPECT_EQ(load(1), simpleEtap(40, 30, 'o'));
    EXPECT_EQ(load(2), simpleEtap(80, 80, '.'));
    write(simpleRecord("a", 18, 10, '+', "\r") + simpleRecord("b", 19, 11, 'o', "\r"));
    EXPECT_EQ(load(1), simpleEtap(19, 11, 'o')) << "CR-only line ends";
}

TEST_F(StageFileRead, ListsAtMostAHundredNamesButLoadsEveryStage) {
    std::string content;
    for (int i = 0; i < 150; ++i) {
        content += simpleRecord("Etap " + std::to_string(i), 18, 10, i == 99 ? 'o' : '+');
    }
    write(content);
    const Names names = CzytajListeEtapow(path);
    ASSERT_EQ(names.size(), 100u);
    EXPECT_EQ(names.back(), "Etap 99");
    EXPECT_EQ(load(99), simpleEtap(18, 10, 'o'));
    EXPECT_EQ(load(149), simpleEtap(18, 10, '+'));
}

TEST_F(StageFileRead, AFailedLoadLeavesTheStageInMemoryAsItWas) {
    const std::string partly = joinLines({"(t)", "}", "99,1x,010,010,010,010,010,100,Z,c,", "{"});
    // Past the last stage, past byte 26, a width that converts before the height fails.
    const std::tuple<std::string, int, const char*> cases[] = {
        {a, 1, "''"}, {a + "\x1a" + b, 1, "''"}, {partly, 0, "'1x'"}};
    Etap etap;
    for (const auto& [content, index, field] : cases) {
        write(content);
        etap = exampleEtap();
        try {
            CzytajEtap(path, index, etap);
            ADD_FAILURE() << "loaded " << index;
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), std::string(field) + " is not a valid integer value");
        }
        EXPECT_EQ(etap, exampleEtap());
    }
    for (const std::string& where : {folder.file("none.map"), folder.path().string()}) {
        try {
            CzytajListeEtapow(where);
            ADD_FAILURE() << where;
        } catch (const MissingFileMessage& message) {
            EXPECT_EQ(message.what(), "Brak pliku: " + where + "...");
        }
        etap = exampleEtap();
        EXPECT_THROW(CzytajEtap(where, 0, etap), MissingFileMessage);
        EXPECT_EQ(etap, exampleEtap());
    }
}

TEST_F(StageFileRead, StoredSizesAreBroughtIntoRangeAndShortRowsLeaveRivets) {
    struct Case {
        const char* sizes;
        int szer, wys, cellsRead; // cellsRead: columns of row 1 taken from the file
    };
    for (const Case& c :
         {Case{"05,12", 18, 12, 5}, Case{"00,12", 18, 12, 0}, Case{"-1,12", 18, 12, 0},
          Case{"99,12", 80, 12, 80}, Case{"20,-1", 20, 10, 0}}) {
        const Etap etap = loadRecord({std::string(c.sizes) + ",010,010,010,010,010,100,Z,k,", "{",
                                      std::string(99, 'o'), std::string(99, 'o')});
        EXPECT_EQ(etap.parametry.Szer, c.szer) << c.sizes;
        EXPECT_EQ(etap.parametry.Wys, c.wys) << c.sizes;
        EXPECT_EQ(rowText(etap, 1, 1, 81),
                  std::string(c.cellsRead, 'o') + std::string(81 - c.cellsRead, '#'))
            << c.sizes;
    }
    std::vector<std::string> tall = {"80,99,010,010,010,010,010,100,Z,k,", "{"};
    for (int row = 1; row <= 99; ++row) {
        tall.push_back(std::string(80, row <= 80 ? 'o' : '+'));
    }
    tall.push_back("(next)");
    const Etap etap = loadRecord(tall);
    EXPECT_EQ(etap.parametry.Wys, 80);
    EXPECT_EQ(etap.plansza.at(80, 80), 'o');
    EXPECT_EQ(etap.plansza.at(80, 81), '#');

    const Etap rows =
        loadRecord({"18,10,010,010,010,010,010,100,Z,k,", "{", "a\xb9?\x7f", "", "xyz"});
    EXPECT_EQ(rowText(rows, 1, 1, 5), "a\xb9?\x7f#") << "bytes outside the alphabet are kept";
    EXPECT_EQ(rowText(rows, 2, 1, 1) + rowText(rows, 3, 1, 1) + rowText(rows, 10, 1, 1), "#x#");
}

TEST_F(StageFileRead, TheParameterPassAppliesAndAShortParameterLineReadsAsBonusOrFails) {
    const Etap etap = loadRecord({"18,10,000,010,010,010,010,000,X,k,", "{"});
    EXPECT_EQ(etap.parametry.IleD, 1);
    EXPECT_EQ(etap.parametry.CzasG, 5);
    EXPECT_EQ(etap.parametry.Typ, 'B');
    EXPECT_EQ(loadRecord({"18,10,010,010,010,010,010,100", "{"}).parametry.Typ, 'B');
    EXPECT_THROW(loadRecord({"18,10,010", "{"}), ConversionError);
}

} // namespace
} // namespace krelwin::stagetest
