#include "errors.h"
#include "stage_record.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

using testing::exampleEtap;
using testing::ExampleRecordLines;
using testing::joinLines;

TEST(StageRecord, TheExampleStageGivesThe305ByteRecord) {
    std::string record;
    appendRecord(record, "Etap 01", exampleEtap());
    EXPECT_EQ(record.size(), 305u);
    EXPECT_EQ(record, joinLines(ExampleRecordLines));
}

TEST(StageRecord, NumbersArePaddedToTheirColumnWidths) {
    ParametryEtapu p;
    p.Szer = 5;
    p.Wys = 80;
    p.IleD = 1;
    p.PktD = 999;
    p.MagMur = 0;
    p.RozL = 42;
    p.LawP = 7;
    p.CzasG = 5;
    p.Typ = 'B';
    p.Kolory = "k";
    EXPECT_EQ(formatParameterLine(p), "05,80,001,999,000,042,007,005,B,k,");
}

TEST(StageRecord, ColourTextIsWrittenWhateverItsLength) {
    ParametryEtapu p;
    p.Kolory = "";
    EXPECT_EQ(formatParameterLine(p), "32,20,010,010,010,010,010,100,Z,,");
    p.Kolory = std::string(70, '1');
    EXPECT_EQ(formatParameterLine(p).size(), 32u + 70u + 1u);
}

TEST(StageRecord, ParsesTheExampleParameterLine) {
    const ParametryEtapu p = parseParameterLine(ExampleRecordLines[2]);
    ParametryEtapu expected;
    expected.Szer = 18;
    expected.Wys = 10;
    EXPECT_EQ(p, expected);
}

TEST(StageRecord, FieldsComeFromTheirColumnsWhateverTheSeparators) {
    const ParametryEtapu p = parseParameterLine("05x-1y-01z 12;007:999!000@  0#X$abc");
    EXPECT_EQ(p.Szer, 5);
    EXPECT_EQ(p.Wys, -1);
    EXPECT_EQ(p.IleD, -1);
    EXPECT_EQ(p.PktD, 12);
    EXPECT_EQ(p.MagMur, 7);
    EXPECT_EQ(p.RozL, 999);
    EXPECT_EQ(p.LawP, 0);
    EXPECT_EQ(p.CzasG, 0);
    EXPECT_EQ(p.Typ, 'X');
    EXPECT_EQ(p.Kolory, "abc");
}

TEST(StageRecord, ColourTextIsAtMost53Characters) {
    const std::string numbers = "18,10,010,010,010,010,010,100,Z,";
    const std::string usual = "00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55";
    EXPECT_EQ(parseParameterLine(numbers + usual + ",").Kolory, usual);
    EXPECT_EQ(parseParameterLine(numbers + "1,2,").Kolory, "1,2,");
    EXPECT_EQ(parseParameterLine(numbers + usual + "99,77,").Kolory, usual);
    EXPECT_EQ(parseParameterLine(numbers).Kolory, "");
}

TEST(StageRecord, ALineTooShortForTheTypeReadsAsBonus) {
    EXPECT_EQ(parseParameterLine("18,10,010,010,010,010,010,100,").Typ, 'B');
    EXPECT_EQ(parseParameterLine("18,10,010,010,010,010,010,100,Z").Typ, 'Z');
}

TEST(StageRecord, AFieldThatDoesNotConvertStopsWithItsText) {
    struct Case {
        std::string line;
        const char* message;
    };
    const Case cases[] = {
        {"", "'' is not a valid integer value"},
        {"1", "'' is not a valid integer value"}, // Szer converts, Wys is empty
        {"ab,10", "'ab' is not a valid integer value"},
        {"18,1x,010", "'1x' is not a valid integer value"},
        {"18,10,010,010,010,010,010,", "'' is not a valid integer value"},
        {"18,10,010,010,010,010,010,1 0,Z", "'1 0' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        try {
            parseParameterLine(c.line);
            ADD_FAILURE() << "converted: " << c.line;
        } catch (const ConversionError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.line;
        }
    }
}

TEST(StageRecord, NameLineRoundTrip) {
    EXPECT_EQ(nameLine("Etap 01"), "(Etap 01)");
    EXPECT_EQ(nameFromNameLine("(Etap 01)"), "Etap 01");
    EXPECT_EQ(nameFromNameLine("(Etap (2))"), "Etap (2)");
    EXPECT_EQ(nameFromNameLine("( a )"), " a ");
    EXPECT_EQ(nameFromNameLine("()"), "");
    EXPECT_EQ(nameFromNameLine("x"), "");
    EXPECT_EQ(nameFromNameLine(""), "");
    EXPECT_EQ(nameFromNameLine("abc"), "b");
}

TEST(StageRecord, CellRowTakesOnlyWhatTheLineAndTheArrayHold) {
    Plansza plansza;
    readCellRow("abcdef", 3, 4, plansza);
    EXPECT_EQ(plansza.at(1, 3), 'a');
    EXPECT_EQ(plansza.at(4, 3), 'd');
    EXPECT_EQ(plansza.at(5, 3), '#');

    readCellRow("xy", 4, 10, plansza); // short row: the rest stays as it was
    EXPECT_EQ(plansza.at(2, 4), 'y');
    EXPECT_EQ(plansza.at(3, 4), '#');

    readCellRow(std::string(120, 'z'), 80, 99, plansza);
    EXPECT_EQ(plansza.at(80, 80), 'z');
    EXPECT_EQ(plansza.at(81, 80), '#'); // the ring is never read into

    readCellRow("qq", 5, -3, plansza);
    EXPECT_EQ(plansza.at(1, 5), '#');
}

TEST(StageRecord, RecordOfAnOversizedStageStaysInsideTheArray) {
    Etap etap;
    etap.parametry.Szer = 99;
    etap.parametry.Wys = 99;
    std::string record;
    appendRecord(record, "big", etap);
    // Name, "}", parameters, "{" and then 80 rows of 80 cells.
    const std::size_t header = 5 + 2 + 3 + formatParameterLine(etap.parametry).size() + 2 + 3;
    EXPECT_EQ(record.size(), header + 80 * 82);
}

} // namespace
} // namespace krelwin
