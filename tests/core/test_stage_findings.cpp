// One table of stages and what is found in them: the findings the editor lists for the stage in
// memory, and the lines `krelwin-stage check` prints for the same stage in a file.
#include "stage_check.h"
#include "stage_findings.h"

#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin {
void PrintTo(const StageFinding& finding, std::ostream* out) {
    *out << static_cast<int>(finding.kind) << " "
         << (finding.severity == Severity::Warning ? "W " : "E ");
    if (finding.cell) {
        *out << finding.cell->column << "," << finding.cell->row << " ";
    }
    *out << finding.text;
}
} // namespace krelwin

namespace krelwin::stagetest {
namespace {

using K = FindingKind;
constexpr Severity E = Severity::Error;

struct FindingCase {
    const char* what;
    std::vector<std::pair<CellPosition, char>> changed; // cells of the example stage
    int ileD;                                           // it holds 5 diamonds
    std::vector<StageFinding> findings;
    std::vector<std::string> checkLines; // stage 0 of a file holding the stage
    bool inFile = true;                  // a file can hold the stage
};

const std::string startAndExit = "0: wymagana dokładnie jedna pozycja startowa i jedno wyjście, a "
                                 "jest S: ";

const std::vector<FindingCase> Cases{
    {"a stage as the editor writes it", {}, 5, {}, {}},
    {"fewer diamonds than to collect",
     {},
     6,
     {{K::FewerDiamonds, Severity::Warning, std::nullopt,
       "mniej diamentów na planszy (5) niż do zebrania (6)"}},
     {"0: ostrzeżenie: mniej diamentów na planszy (5) niż do zebrania (6)"}},
    {"no start, two exits",
     {{{1, 1}, '+'}, {{3, 2}, 'W'}},
     5,
     {{K::StartCount, E, std::nullopt, "brak pozycji startowej (S); wymagana jest dokładnie jedna"},
      {K::ExitCount, E, CellPosition{3, 2},
       "pole w wierszu 2, kolumnie 3: jedno z 2 wyjść (W); wymagane jest dokładnie jedno"},
      {K::ExitCount, E, CellPosition{17, 10},
       "pole w wierszu 10, kolumnie 17: jedno z 2 wyjść (W); wymagane jest dokładnie jedno"}},
     {startAndExit + "0, W: 2"}},
    {"three starts, no exit",
     {{{17, 10}, 'S'}, {{1, 5}, 'S'}},
     5,
     {{K::StartCount, E, CellPosition{1, 1},
       "pole w wierszu 1, kolumnie 1: jedna z 3 pozycji startowych (S); wymagana jest dokładnie "
       "jedna"},
      {K::StartCount, E, CellPosition{1, 5},
       "pole w wierszu 5, kolumnie 1: jedna z 3 pozycji startowych (S); wymagana jest dokładnie "
       "jedna"},
      {K::StartCount, E, CellPosition{17, 10},
       "pole w wierszu 10, kolumnie 17: jedna z 3 pozycji startowych (S); wymagana jest "
       "dokładnie jedna"},
      {K::ExitCount, E, std::nullopt, "brak wyjścia (W); wymagane jest dokładnie jedno"}},
     {startAndExit + "3, W: 0"}},
    {"cells a write refuses, codes outside the alphabet, then the rule and the diamonds",
     {{{2, 3}, '('}, {{1, 4}, 'x'}, {{1, 6}, '\n'}, {{18, 6}, '\xb3'}, {{1, 1}, '$'}},
     5,
     {{K::UnknownCode, E, CellPosition{1, 1},
       "pole w wierszu 1, kolumnie 1 zawiera nieznany znak „$”; edytor pokazuje je jako puste"},
      {K::UnwritableCell, E, CellPosition{2, 3},
       "pole w wierszu 3, kolumnie 2 zawiera znak „(”; edytor odmówi zapisu tego etapu"},
      {K::UnknownCode, E, CellPosition{1, 4},
       "pole w wierszu 4, kolumnie 1 zawiera nieznany znak „x”; edytor pokazuje je jako puste"},
      {K::UnwritableCell, E, CellPosition{1, 6},
       "pole w wierszu 6, kolumnie 1 zawiera znak „\\x0A”; edytor odmówi zapisu tego etapu"},
      {K::UnknownCode, E, CellPosition{18, 6},
       "pole w wierszu 6, kolumnie 18 zawiera nieznany znak „\\xB3”; edytor pokazuje je jako "
       "puste"},
      {K::StartCount, E, std::nullopt, "brak pozycji startowej (S); wymagana jest dokładnie jedna"},
      {K::FewerDiamonds, Severity::Warning, std::nullopt,
       "mniej diamentów na planszy (4) niż do zebrania (5)"}},
     {"0: pole w wierszu 1, kolumnie 1 zawiera nieznany znak „$”; edytor pokazuje je jako puste",
      "0: pole w wierszu 3, kolumnie 2 zawiera znak „(”; edytor odmówi zapisu tego etapu",
      "0: pole w wierszu 4, kolumnie 1 zawiera nieznany znak „x”; edytor pokazuje je jako puste",
      "0: pole w wierszu 6, kolumnie 1 zawiera znak „\\x0A”; edytor odmówi zapisu tego etapu",
      "0: pole w wierszu 6, kolumnie 18 zawiera nieznany znak „\\xB3”; edytor pokazuje je jako "
      "puste",
      startAndExit + "0, W: 1",
      "0: ostrzeżenie: mniej diamentów na planszy (4) niż do zebrania (5)"}},
    {"a CR and a byte 26, which no file can bring",
     {{{1, 2}, '\r'}, {{2, 2}, '\x1a'}},
     5,
     {{K::UnwritableCell, E, CellPosition{1, 2},
       "pole w wierszu 2, kolumnie 1 zawiera znak „\\x0D”; edytor odmówi zapisu tego etapu"},
      {K::UnwritableCell, E, CellPosition{2, 2},
       "pole w wierszu 2, kolumnie 2 zawiera znak „\\x1A”; edytor odmówi zapisu tego etapu"}},
     {},
     false},
};

Etap stageOf(const FindingCase& c) {
    Etap etap = exampleEtap();
    etap.parametry.IleD = c.ileD;
    for (const auto& [cell, code] : c.changed) {
        etap.plansza.at(cell.column, cell.row) = code;
    }
    return etap;
}

TEST(StageFindings, OfTheStageInMemory) {
    for (const FindingCase& c : Cases) {
        EXPECT_EQ(findStageFindings(stageOf(c)), c.findings) << c.what;
    }
}

TEST(StageFindings, AreWhatTheCheckReportsForTheStageInAFile) {
    TempFolder folder;
    for (const FindingCase& c : Cases) {
        if (!c.inFile) {
            continue;
        }
        std::vector<std::string> lines = ExampleRecordLines;
        lines[2].replace(6, 3, (c.ileD < 10 ? "00" : "0") + std::to_string(c.ileD));
        for (const auto& [cell, code] : c.changed) {
            lines[3 + cell.row][cell.column - 1] = code;
        }
        writeBytes(folder.file("etap.map"), joinLines(lines));
        std::vector<std::string> printed;
        for (const StageProblem& problem : findStageProblems(folder.file("etap.map"))) {
            printed.push_back(problemLine(problem));
        }
        EXPECT_EQ(printed, c.checkLines) << c.what;
    }
}

} // namespace
} // namespace krelwin::stagetest
