#include "cli_runner.h"

namespace krelwin::cli_test {
namespace {

using CheckCommand = CliTest;

std::vector<std::string> rowsWith(std::size_t row, const std::string& text) {
    std::vector<std::string> rows = ExampleRows;
    rows[row] = text;
    return rows;
}

TEST_F(CheckCommand, ACleanFileGivesNoOutputAndExitZero) {
    write("czysty.map", exampleRecord("A") + exampleRecord("B") + "\x1a");
    const Outcome outcome = run({"check", "czysty.map"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");
}

TEST_F(CheckCommand, ReportsEachKindOfProblemOnItsOwnLine) {
    const std::string good = exampleRecord();
    std::string hundredAndOne;
    for (int i = 0; i < 101; ++i) {
        hundredAndOne += good;
    }
    const std::vector<std::pair<std::string, std::string>> cases{
        {good + record("(B)", DefaultParameters, rowsWith(0, std::string(18, '+'))),
         "1: wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest S: 0, W: 1\n"},
        {record("(A)", "18,10,010,010,010,010,010,999,Q," + DefaultParameters.substr(32),
                ExampleRows),
         "0: Typ „Q” to ani Z, ani B\n"},
        {record("(A)", "18,10,010,010,010,010,010,100,Z,00,", ExampleRows),
         "0: kolory: długość 3 zamiast 53\n"},
        {record("(A)", "18,10,0x0,010,010,010,010,100,Z," + DefaultParameters.substr(32),
                ExampleRows),
         "0: IleD: „0x0” nie jest liczbą całkowitą\n"},
        {record("(A)", "18,10,010", ExampleRows),
         "0: wiersz parametrów: długość 9, brak w nim kolumny typu (31.)\n"},
        {record("(A)", DefaultParameters, rowsWith(4, "++")),
         "0: wiersze planszy krótsze niż szerokość 18: 5\n"},
        {"(A)\r\n}\r\n" + DefaultParameters + "\r\n{\r\n" + ExampleRows[0] + "\r\n",
         "0: brakuje wierszy planszy: jest 1 z 10\n"},
        {good + record("(x}y)", DefaultParameters, ExampleRows),
         "1: wiersz liczony jako „}” etapu nie jest samym „}”"},
        {record("(A)", DefaultParameters.substr(0, 40) + "}" + DefaultParameters.substr(41),
                ExampleRows),
         "0: kolory zawierają znak „}”\n"},
        {good + "\x1a" + good, "plik: dane po bajcie 26 (Ctrl-Z)"},
        {hundredAndOne, "100: etapy 100..100 są poza listą etapów edytora"},
    };
    for (const auto& [content, expected] : cases) {
        write("etapy.map", content);
        const Outcome outcome = run({"check", "etapy.map"});
        EXPECT_EQ(outcome.exitCode, 1) << expected;
        EXPECT_EQ(outcome.err, "");
        EXPECT_NE(outcome.out.find(expected), std::string::npos)
            << "expected " << expected << "\nin\n"
            << outcome.out;
        EXPECT_EQ(outcome.out.back(), '\n');
    }
}

TEST_F(CheckCommand, AMissingFileIsAFailureNotAProblemList) {
    const Outcome outcome = run({"check", "brak.map"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "Brak pliku: brak.map...\n");
}

} // namespace
} // namespace krelwin::cli_test
