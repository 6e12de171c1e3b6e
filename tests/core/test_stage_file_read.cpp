#include "errors.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

using testing::exampleEtap;
using testing::ExampleRecordLines;
using testing::joinLines;
using testing::simpleEtap;
using testing::simpleRecord;
using testing::TempFolder;
using testing::writeBytes;
using Names = std::vector<std::string>;

class StageFileRead : public ::testing::Test {
protected:
    std::string write(const std::string& bytes) {
        writeBytes(path, bytes);
        return path;
    }
    Etap load(int index) {
        Etap etap;
        CzytajEtap(path, index, etap);
        return etap;
    }
    // A loaded stage whose parameter line and rows are given, after the name and "}" lines.
    Etap loadRecord(const std::vector<std::string>& linesAfterBrace) {
        std::vector<std::string> lines = {"(t)", "}"};
        lines.insert(lines.end(), linesAfterBrace.begin(), linesAfterBrace.end());
        write(joinLines(lines));
        return load(0);
    }

    TempFolder folder;
    std::string path = folder.file("stages.map");
};

TEST_F(StageFileRead, ListsTheNamesInFileOrder) {
    write(simpleRecord("Etap 01", 18, 10, '+') + simpleRecord("", 18, 10, '.') +
          simpleRecord("Etap (2)", 20, 12, 'o') + simpleRecord(" x ", 18, 10, '+'));
    EXPECT_EQ(CzytajListeEtapow(path), (Names{"Etap 01", "", "Etap (2)", " x "}));
}

TEST_F(StageFileRead, CarriageReturnsAloneListAndLoadAlike) {
    const std::string crlf = simpleRecord("a", 18, 10, '+') + simpleRecord("b", 19, 11, 'o');
    const std::string cr =
        simpleRecord("a", 18, 10, '+', "\r") + simpleRecord("b", 19, 11, 'o', "\r");
    write(crlf);
    const Names names = CzytajListeEtapow(path);
    const Etap second = load(1);
    write(cr);
    EXPECT_EQ(CzytajListeEtapow(path), names);
    EXPECT_EQ(load(1), second);
    EXPECT_EQ(second, simpleEtap(19, 11, 'o'));
}

TEST_F(StageFileRead, LineFeedsAloneMakeOneLineAndListNothing) {
    write(simpleRecord("a", 18, 10, '+', "\n") + simpleRecord("b", 18, 10, '+', "\n"));
    EXPECT_EQ(CzytajListeEtapow(path), Names{});
}

TEST_F(StageFileRead, ABraceLineAtTheVeryEndAddsNothing) {
    write("(a)\r\n}\r\n");
    EXPECT_EQ(CzytajListeEtapow(path), Names{});
    write("(a)\r\n}\r\nx");
    EXPECT_EQ(CzytajListeEtapow(path), Names{"a"});
    write("(a)\r\n}");
    EXPECT_EQ(CzytajListeEtapow(path), Names{});
}

TEST_F(StageFileRead, TheNameIsTheLastLineBeforeTheBraceWithoutItsEnds) {
    write(joinLines({"junk", "(first)", "}", "p", "{", "}", "p", "ab", "}", "p"}));
    // Each repetition remembers its own last line; "{" and "ab" are too short to name a stage.
    EXPECT_EQ(CzytajListeEtapow(path), (Names{"first", "", ""}));
}

TEST_F(StageFileRead, ListsAtMostAHundredNamesAndLoadsTheHundredth) {
    std::string bytes;
    for (int i = 0; i < 150; ++i) {
        bytes += simpleRecord("Etap " + std::to_string(i), 18, 10, i == 99 ? 'o' : '+');
    }
    write(bytes);
    const Names names = CzytajListeEtapow(path);
    ASSERT_EQ(names.size(), 100u);
    EXPECT_EQ(names.front(), "Etap 0");
    EXPECT_EQ(names.back(), "Etap 99");
    EXPECT_EQ(load(99), simpleEtap(18, 10, 'o'));
    EXPECT_EQ(load(149), simpleEtap(18, 10, '+'));
}

TEST_F(StageFileRead, EndMarkEndsTheFile) {
    const std::string one = simpleRecord("a", 18, 10, '+');
    write(one + "\x1a");
    EXPECT_EQ(CzytajListeEtapow(path), Names{"a"});
    write(one + "\x1a" + simpleRecord("hidden", 18, 10, '+'));
    EXPECT_EQ(CzytajListeEtapow(path), Names{"a"});
    EXPECT_THROW(load(1), ConversionError);
}

TEST_F(StageFileRead, MissingFileOrAFolderIsReportedAsMissing) {
    for (const std::string& where : {folder.file("none.map"), folder.path().string()}) {
        try {
            CzytajListeEtapow(where);
            ADD_FAILURE() << where;
        } catch (const MissingFileMessage& message) {
            EXPECT_EQ(message.what(), "Brak pliku: " + where + "...");
        }
        Etap etap = exampleEtap();
        EXPECT_THROW(CzytajEtap(where, 0, etap), MissingFileMessage);
        EXPECT_EQ(etap, exampleEtap());
    }
}

TEST_F(StageFileRead, LoadsTheExampleRecord) {
    write(joinLines(ExampleRecordLines));
    EXPECT_EQ(load(0), exampleEtap());
}

TEST_F(StageFileRead, LoadsFirstMiddleAndLastStage) {
    write(simpleRecord("a", 18, 10, '+') + simpleRecord("b", 40, 30, 'o') +
          simpleRecord("c", 80, 80, '.'));
    EXPECT_EQ(load(0), simpleEtap(18, 10, '+'));
    EXPECT_EQ(load(1), simpleEtap(40, 30, 'o'));
    EXPECT_EQ(load(2), simpleEtap(80, 80, '.'));
}

TEST_F(StageFileRead, APastTheEndIndexIsAnEmptyFieldAndChangesNothing) {
    write(simpleRecord("a", 18, 10, '+'));
    Etap etap = exampleEtap();
    try {
        CzytajEtap(path, 1, etap);
        FAIL() << "loaded a stage that is not there";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(etap, exampleEtap());
}

TEST_F(StageFileRead, AFailingLaterFieldLeavesTheStageInMemoryAsItWas) {
    // Width 99 converts before the height fails; nothing of it may reach memory.
    write(joinLines({"(t)", "}", "99,1x,010,010,010,010,010,100,Z,c,", "{"}));
    Etap etap = exampleEtap();
    EXPECT_THROW(CzytajEtap(path, 0, etap), ConversionError);
    EXPECT_EQ(etap, exampleEtap());
}

TEST_F(StageFileRead, StoredSizesAreBroughtIntoRange) {
    struct Case {
        const char* sizes;
        int szer;
        int wys;
        int cellsRead; // columns of row 1 taken from the file
    };
    const Case cases[] = {{"05,12", 18, 12, 5},
                          {"00,12", 18, 12, 0},
                          {"-1,12", 18, 12, 0},
                          {"99,12", 80, 12, 80},
                          {"20,-1", 20, 10, 0}};
    for (const Case& c : cases) {
        const Etap etap = loadRecord({std::string(c.sizes) + ",010,010,010,010,010,100,Z,k,", "{",
                                      std::string(99, 'o'), std::string(99, 'o')});
        SCOPED_TRACE(c.sizes);
        EXPECT_EQ(etap.parametry.Szer, c.szer);
        EXPECT_EQ(etap.parametry.Wys, c.wys);
        for (int column = 1; column <= 81; ++column) {
            EXPECT_EQ(etap.plansza.at(column, 1), column <= c.cellsRead ? 'o' : '#') << column;
        }
    }
}

TEST_F(StageFileRead, AHeightAbove80ReadsEightyRowsOnly) {
    std::vector<std::string> lines = {"80,99,010,010,010,010,010,100,Z,k,", "{"};
    for (int row = 1; row <= 99; ++row) {
        lines.push_back(std::string(80, row <= 80 ? 'o' : '+'));
    }
    lines.push_back("(next)");
    const Etap etap = loadRecord(lines);
    EXPECT_EQ(etap.parametry.Wys, 80);
    EXPECT_EQ(etap.plansza.at(80, 80), 'o');
    EXPECT_EQ(etap.plansza.at(80, 81), '#');
    EXPECT_EQ(etap.plansza.at(81, 80), '#');
}

TEST_F(StageFileRead, TypeXLoadsAsBonusAndZeroDiamondsAsOne) {
    const Etap etap = loadRecord({"18,10,000,010,010,010,010,000,X,k,", "{"});
    EXPECT_EQ(etap.parametry.IleD, 1);
    EXPECT_EQ(etap.parametry.CzasG, 5);
    EXPECT_EQ(etap.parametry.Typ, 'B');
}

TEST_F(StageFileRead, ShortAndMissingRowsLeaveRivets) {
    const Etap etap = loadRecord({"18,10,010,010,010,010,010,100,Z,k,", "{", "abc", "", "xyz"});
    EXPECT_EQ(etap.plansza.at(3, 1), 'c');
    EXPECT_EQ(etap.plansza.at(4, 1), '#');
    EXPECT_EQ(etap.plansza.at(1, 2), '#');
    EXPECT_EQ(etap.plansza.at(1, 3), 'x');
    for (int row = 4; row <= 10; ++row) {
        EXPECT_EQ(etap.plansza.at(1, row), '#');
    }
}

TEST_F(StageFileRead, AShortParameterLineReadsAsBonusOrFails) {
    EXPECT_EQ(loadRecord({"18,10,010,010,010,010,010,100", "{"}).parametry.Typ, 'B');
    EXPECT_THROW(loadRecord({"18,10,010", "{"}), ConversionError);
}

TEST_F(StageFileRead, CellBytesOutsideTheAlphabetAreKept) {
    const Etap etap = loadRecord({"18,10,010,010,010,010,010,100,Z,k,", "{", "\xb9?x\x7f"});
    EXPECT_EQ(etap.plansza.at(1, 1), '\xb9');
    EXPECT_EQ(etap.plansza.at(2, 1), '?');
    EXPECT_EQ(etap.plansza.at(4, 1), '\x7f');
}

} // namespace
} // namespace krelwin
