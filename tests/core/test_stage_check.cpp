#include "stage_check.h"

#include "stage_file.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace krelwin {
// Failures show the problems as the tool prints them.
void PrintTo(const StageProblem& problem, std::ostream* out) {
    *out << problemLine(problem);
}
} // namespace krelwin

namespace krelwin::stagetest {
namespace {

// Functions, not globals: the example's lines are another file's global. The example stage
// holds 5 diamonds: to collect as many, it is clean (the default, 10, is warned of).
const std::string& defaultParameters() {
    static const std::string line = "18,10,005" + ExampleRecordLines[2].substr(9);
    return line;
}

const std::vector<std::string>& exampleRows() {
    static const std::vector<std::string> rows(ExampleRecordLines.begin() + 4,
                                               ExampleRecordLines.end());
    return rows;
}

std::string record(const std::string& nameLine, const std::string& parameters,
                   const std::vector<std::string>& rows) {
    return joinLines({nameLine, "}", parameters, "{"}) + joinLines(rows);
}

std::string namedExample(const std::string& name) {
    return record("(" + name + ")", defaultParameters(), exampleRows());
}

std::vector<std::string> rowsWith(std::size_t row, const std::string& text) {
    std::vector<std::string> rows = exampleRows();
    rows[row] = text;
    return rows;
}

class StageCheck : public ::testing::Test {
protected:
    std::string write(const std::string& content) {
        writeBytes(path, content);
        return path;
    }
    TempFolder folder;
    std::string path = folder.file("etapy.map");
};

struct ProblemCase {
    const char* what;
    std::string content;
    std::vector<StageProblem> expected;
};

TEST_F(StageCheck, FindsEachKindOfProblem) {
    const std::string first = namedExample("Etap 01");
    std::string hundredAndTwo;
    for (int i = 0; i < 102; ++i) {
        hundredAndTwo += namedExample("E" + std::to_string(i));
    }
    const std::vector<ProblemCase> cases{
        {"an empty file", "", {}},
        {"clean stages, byte 26 at the end",
         namedExample("A") + namedExample("()") + first + "\x1a",
         {}},
        {"no start",
         first + record("(B)", defaultParameters(), rowsWith(0, "++++++o+++++*+++++")),
         {{1, "wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest S: 0, W: 1"}}},
        {"values out of range",
         record("(A)",
                "10,10,000,010,010,010,010,004,X,00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,"
                "10,55,",
                exampleRows()),
         {{0, "Szer = 10, poza zakresem 18..80"},
          {0, "IleD = 0, poza zakresem 1..999"},
          {0, "CzasG = 4, poza zakresem 5..999"},
          {0, "Typ „X” to ani Z, ani B"},
          {0, "wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest S: 1, W: 0"}}},
        {"unconvertible field, a NUL in it shown escaped",
         record("(A)", std::string("18,1\0,010,010,010,010,010,100,Z,", 32), exampleRows()),
         {{0, "Wys: „1\\x00” nie jest liczbą całkowitą"}, {0, "kolory: długość 0 zamiast 53"}}},
        {"cells a write refuses, and a ( beyond the width",
         record("(A)", defaultParameters(),
                [] {
                    std::vector<std::string> rows = exampleRows();
                    rows[1] += "(";
                    rows[2][4] = '(';
                    rows[5][0] = '\n';
                    return rows;
                }()),
         {{0, "wiersze planszy ze znakiem „(” poza polami etapu: 2"},
          {0, "pole w wierszu 3, kolumnie 5 zawiera znak „(”; edytor odmówi zapisu tego etapu"},
          {0, "pole w wierszu 6, kolumnie 1 zawiera znak „\\x0A”; edytor odmówi zapisu tego "
              "etapu"}}},
        {"a } in a cell splits the stage",
         record("(A)", defaultParameters(), rowsWith(3, "+}" + exampleRows()[3].substr(2))),
         {{0, "brakuje wierszy planszy: jest 2 z 10"},
          {0, "pole w wierszu 4, kolumnie 2 zawiera znak „}”; edytor odmówi zapisu tego etapu"},
          {1, "wiersz liczony jako „}” etapu nie jest samym „}” (znak „}” w nazwie, kolorach "
              "albo planszy); dalsze etapy mają przesunięte numery"}}},
        {"short parameter line",
         record("(A)", "18,10,005,010,010,010,010,100", exampleRows()),
         {{0, "wiersz parametrów: długość 29, brak w nim kolumny typu (31.)"}}},
        {"short and missing rows",
         record("(A)", defaultParameters(),
                std::vector<std::string>(exampleRows().begin(), exampleRows().begin() + 8)) +
             record("(B)", defaultParameters(), rowsWith(2, "+*+")),
         // The load takes the next record's first two lines as rows 9 and 10.
         {{0, "brakuje wierszy planszy: jest 8 z 10"},
          {0, "pole w wierszu 9, kolumnie 1 zawiera znak „(”; edytor odmówi zapisu tego etapu"},
          {0, "pole w wierszu 9, kolumnie 2 zawiera nieznany znak „B”; edytor pokazuje je jako "
              "puste"},
          {0, "pole w wierszu 9, kolumnie 3 zawiera nieznany znak „)”; edytor pokazuje je jako "
              "puste"},
          {0, "pole w wierszu 10, kolumnie 1 zawiera znak „}”; edytor odmówi zapisu tego etapu"},
          {0, "wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest S: 1, W: 0"},
          {0, "mniej diamentów na planszy (4) niż do zebrania (5)", Severity::Warning},
          {1, "wiersze planszy krótsze niż szerokość 18: 3"}}},
        {"surplus rows",
         record("(A)", defaultParameters(), rowsWith(9, exampleRows()[9])) + "nadmiar\r\n" + first,
         {{0, "nadmiarowe wiersze po planszy (ponad wysokość 10): 1"}}},
        {"colour text with markers",
         record("(A)",
                "18,10,005,010,010,010,010,100,Z,00,00,00,20,40,00,10,30,(0,20,61,40,05,35,05,10,"
                "10,55,",
                exampleRows()),
         {{0, "kolory zawierają znak „(”"}}},
        {"name with a brace",
         first + record("(a}b)", defaultParameters(), exampleRows()) + first,
         {{0, "brakuje wierszy planszy: jest 9 z 10"},
          {1, "wiersz liczony jako „}” etapu nie jest samym „}” (znak „}” w nazwie, kolorach "
              "albo planszy); dalsze etapy mają przesunięte numery"}}},
        {"name with a line feed",
         record("(a\nb)", defaultParameters(), exampleRows()),
         {{0, "nazwa zawiera znak nowego wiersza (LF)"}}},
        {"opening brace missing",
         "(A)\r\n}\r\n" + defaultParameters() + "\r\n",
         {{0, "brak wiersza „{” po wierszu parametrów"},
          {0, "brakuje wierszy planszy: jest 0 z 10"},
          {0, "wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest S: 0, W: 0"},
          {0, "mniej diamentów na planszy (0) niż do zebrania (5)", Severity::Warning}}},
        {"parameter line missing", "(A)\r\n}\r\n", {{0, "brak wiersza parametrów"}}},
        {"data after byte 26",
         first + "\x1a" + namedExample("B"),
         {{FileLevel, "dane po bajcie 26 (Ctrl-Z) są pomijane przy czytaniu i giną przy zapisie"}}},
        {"no stage at all",
         "tekst\r\n",
         {{FileLevel, "plik nie zawiera żadnego etapu (brak wiersza „}”)"}}},
        {"stages past the hundredth, reported once",
         hundredAndTwo,
         {{100, "etapy 100..101 są poza listą etapów edytora, która mieści pierwsze 100"}}},
        {"lines before the first stage",
         "x\r\ny\r\n" + first,
         {{FileLevel, "wiersze przed pierwszym etapem: 2"}}},
    };
    for (const ProblemCase& c : cases) {
        EXPECT_EQ(findStageProblems(write(c.content)), c.expected) << c.what;
    }
}

// The findings of a stage are those of the stage a load gives, so they must agree with the
// loader wherever the record's own rows do not hold the stage: rows taken from the next record,
// a width above 80, a width below the range.
TEST_F(StageCheck, FindingsAgreeWithTheLoad) {
    const std::string wide = std::string(79, '+') + "WS";
    std::vector<std::string> wideRows(10, std::string(81, '+'));
    wideRows[0] = "S" + std::string(79, '+') + "W"; // the exit stands in column 81
    wideRows[1] = std::string(79, '+') + "W+";
    wideRows[2] = "++x" + std::string(77, '+') + "x"; // the second "x" lies beyond the load
    const std::vector<std::string> contents{
        record("(A)", defaultParameters(), {exampleRows().begin(), exampleRows().begin() + 9}) +
            exampleRecord(),
        record("(A)", "99,10,010,010,010,010,010,100,Z,", std::vector<std::string>(10, wide)),
        record("(A)", "99,10,010,010,010,010,010,100,Z,", wideRows),
        record("(A)", "02,10,010,010,010,010,010,100,Z,", rowsWith(9, "+W" + wide)),
    };
    for (const std::string& content : contents) {
        const std::string path = write(content);
        Etap etap;
        CzytajEtap(path, 0, etap);
        // The check's lines of the stage's findings: each cell's, the rule's one line, the
        // diamonds' warning.
        std::vector<std::string> expected;
        for (const StageFinding& finding : findStageFindings(etap)) {
            if (finding.kind == FindingKind::UnwritableCell ||
                finding.kind == FindingKind::UnknownCode) {
                expected.push_back(finding.text);
            }
        }
        if (!etap.hasOneStartAndOneExit()) {
            expected.push_back("wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest "
                               "S: " +
                               std::to_string(etap.countInInterior('S')) +
                               ", W: " + std::to_string(etap.countInInterior('W')));
        }
        if (etap.countInInterior('*') < etap.parametry.IleD) {
            expected.push_back("ostrzeżenie: " +
                               fewerDiamondsText(etap.countInInterior('*'), etap.parametry.IleD));
        }
        std::vector<std::string> reported;
        for (const StageProblem& problem : findStageProblems(path)) {
            const std::string line = problemLine(problem);
            if (problem.index == 0 &&
                (line.starts_with("0: pole") || line.starts_with("0: wymagana") ||
                 line.starts_with("0: ostrzeżenie"))) {
                reported.push_back(line.substr(3));
            }
        }
        EXPECT_EQ(reported, expected) << content;
    }
}

} // namespace
} // namespace krelwin::stagetest
