#include "cli_runner.h"

namespace krelwin::cli_test {
namespace {

using ListCommand = CliTest;
using ShowCommand = CliTest;

TEST_F(ListCommand, PrintsTheNamesAsStored) {
    const std::string stages = exampleRecord("Etap 01") + exampleRecord("") +
                               exampleRecord("Etap (2)") + exampleRecord(" Za\xb3\xf3g ");
    for (const std::string lineEnd : {"\r\n", "\r"}) {
        std::string content = stages;
        if (lineEnd == "\r") {
            std::erase(content, '\n');
        }
        write("etapy.map", content);
        const Outcome outcome = run({"list", "etapy.map"});
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(outcome.out, "Etap 01\n\nEtap (2)\n Za\xb3\xf3g \n");
    }
}

TEST_F(ListCommand, HoldsAtMostAHundredNames) {
    std::string content;
    std::string expected;
    for (int i = 0; i < 150; ++i) {
        content += exampleRecord("E" + std::to_string(i));
        expected += i < 100 ? "E" + std::to_string(i) + "\n" : "";
    }
    write("duzo.map", content);
    EXPECT_EQ(run({"list", "duzo.map"}).out, expected);
}

TEST_F(ListCommand, AnEmptyFileListsNothing) {
    write("pusty.map", "");
    const Outcome outcome = run({"list", "pusty.map"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "");
}

TEST_F(ListCommand, AndShowReportAMissingFileInTheEditorsWords) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"list", "brak.map"}, {"show", "brak.map", "0"}}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "Brak pliku: brak.map...\n");
    }
}

TEST_F(ShowCommand, PrintsTheRecordTheEditorWouldWrite) {
    const std::string second = record("(Druga)", DefaultParameters, ExampleRows, "\r");
    write("etapy.map", record("(Etap 01)", DefaultParameters, ExampleRows, "\r") + second);
    const Outcome outcome = run({"show", "etapy.map", "1"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, record("(Druga)", DefaultParameters, ExampleRows));
}

TEST_F(ShowCommand, TheExampleRecordComesBackByteForByte) {
    const std::string example = exampleRecord();
    ASSERT_EQ(example.size(), 305u);
    write("etap.map", example);
    EXPECT_EQ(run({"show", "etap.map", "0"}).out, example);
}

TEST_F(ShowCommand, PassesTheParametersThroughTheirRanges) {
    write("maly.map", record("(Mały)", "05,09,000,999,-01,010,010,001,X,kolory",
                             std::vector<std::string>(9, "S+W+o+++")));
    std::vector<std::string> shown(10, "S+W+o" + std::string(13, '#'));
    shown[9] = std::string(18, '#'); // below the stored height of 9
    const Outcome outcome = run({"show", "maly.map", "0"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, record("(Mały)", "18,10,001,999,000,010,010,005,B,kolory,", shown));
}

TEST_F(ShowCommand, ReachesStagesPastTheHundredthUnderTheirOwnNames) {
    std::string content;
    for (int i = 0; i < 102; ++i) {
        content += exampleRecord("E" + std::to_string(i));
    }
    write("duzo.map", content);
    EXPECT_EQ(run({"show", "duzo.map", "101"}).out, exampleRecord("E101"));
}

TEST_F(ShowCommand, AnIndexPastTheLastStageIsTheConversionError) {
    write("etap.map", exampleRecord());
    const Outcome outcome = run({"show", "etap.map", "1"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "'' is not a valid integer value.\n");
}

} // namespace
} // namespace krelwin::cli_test
