#include "errors.h"
#include "stage_record.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

TEST(StageRecord, NumbersArePaddedToTheirColumnsAndTheColourTextWrittenWhole) {
    ParametryEtapu p{5, 80, 1, 999, 0, 42, 7, 5, 'B', "k"};
    EXPECT_EQ(formatParameterLine(p), "05,80,001,999,000,042,007,005,B,k,");
    p = ParametryEtapu{};
    p.Kolory = "";
    EXPECT_EQ(formatParameterLine(p), "32,20,010,010,010,010,010,100,Z,,");
    p.Kolory = std::string(70, '1');
    EXPECT_EQ(formatParameterLine(p).size(), 32u + 70u + 1u);
}

TEST(StageRecord, FieldsComeFromTheirColumnsWhateverTheSeparators) {
    const ParametryEtapu p = parseParameterLine("05x-1y-01z 12;007:999!000@  0#X$abc");
    EXPECT_EQ(p, (ParametryEtapu{5, -1, -1, 12, 7, 999, 0, 0, 'X', "abc"}));
    const std::string numbers = "18,10,010,010,010,010,010,100,Z,";
    const std::string usual = DomyslneKolory;
    // The colour text is at most 53 characters; a line too short for the type reads as bonus.
    EXPECT_EQ(parseParameterLine(numbers + usual + ",").Kolory, usual);
    EXPECT_EQ(parseParameterLine(numbers + "1,2,").Kolory, "1,2,");
    EXPECT_EQ(parseParameterLine(numbers + usual + "99,77,").Kolory, usual);
    EXPECT_EQ(parseParameterLine(numbers).Kolory, "");
    EXPECT_EQ(parseParameterLine("18,10,010,010,010,010,010,100,").Typ, 'B');
}

TEST(StageRecord, AFieldThatDoesNotConvertStopsWithItsText) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "''"},
        {"1", "''"}, // Szer converts, Wys is empty
        {"ab,10", "'ab'"},
        {"18,1x,010", "'1x'"},
        {"18,10,010,010,010,010,010,", "''"},
        {"18,10,010,010,010,010,010,1 0,Z", "'1 0'"}};
    for (const auto& [line, field] : cases) {
        try {
            parseParameterLine(line);
            ADD_FAILURE() << "converted: " << line;
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.what(), std::string(field) + " is not a valid integer value") << line;
        }
    }
}

TEST(StageRecord, TheNameIsTheNameLineWithoutItsFirstAndLastCharacter) {
    EXPECT_EQ(nameLine("Etap 01"), "(Etap 01)");
    const std::pair<const char*, const char*> cases[] = {{"(Etap (2))", "Etap (2)"},
                                                         {"( a )", " a "},
                                                         {"()", ""},
                                                         {"x", ""},
                                                         {"", ""},
                                                         {"abc", "b"}};
    for (const auto& [line, name] : cases) {
        EXPECT_EQ(nameFromNameLine(line), name) << line;
    }
}

} // namespace
} // namespace krelwin::stagetest
