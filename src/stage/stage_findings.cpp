#include "stage_findings.h"

#include "byte_scan.h"
#include "cell_kinds.h"
#include "stage_record.h"

#include <algorithm>

namespace krelwin {

namespace {

std::string cellPlace(CellPosition cell) {
    return "pole w wierszu " + std::to_string(cell.row) + ", kolumnie " +
           std::to_string(cell.column);
}

std::string quotedCode(char code) {
    return "„" + shownCode(code) + "”";
}

// A cell holding a code outside the alphabet: one a write refuses, or one shown as empty.
StageFinding foreignCodeFinding(char code, CellPosition cell) {
    if (contains(RecordBreakingBytes, code)) {
        return StageFinding{FindingKind::UnwritableCell, Severity::Error, cell,
                            cellPlace(cell) + " zawiera znak " + quotedCode(code) +
                                "; edytor odmówi zapisu tego etapu"};
    }
    return StageFinding{FindingKind::UnknownCode, Severity::Error, cell,
                        cellPlace(cell) + " zawiera nieznany znak " + quotedCode(code) +
                            "; edytor pokazuje je jako puste"};
}

// The start-and-exit rule for one of the two codes: nothing when the stage holds exactly one,
// one finding when it holds none, and one per cell when it holds several.
struct OneOnlyRule {
    FindingKind kind;
    char code;
    const char* none;    // "brak ..."
    const char* oneOf;   // "jedna z"
    const char* several; // "pozycji startowych (S)", genitive plural
    const char* needed;  // "wymagana jest dokładnie jedna"
};
constexpr OneOnlyRule StartRule{FindingKind::StartCount,      kod::Start,
                                "brak pozycji startowej (S)", "jedna z",
                                "pozycji startowych (S)",     "wymagana jest dokładnie jedna"};
constexpr OneOnlyRule ExitRule{
    FindingKind::ExitCount,         kod::Wyjscie, "brak wyjścia (W)", "jedno z", "wyjść (W)",
    "wymagane jest dokładnie jedno"};

void applyOneOnlyRule(const OneOnlyRule& rule, int count, const std::vector<CellPosition>& cells,
                      std::vector<StageFinding>& findings) {
    if (count == 0) {
        findings.push_back({rule.kind, Severity::Error, std::nullopt,
                            std::string(rule.none) + "; " + rule.needed});
    } else if (count > 1) {
        for (const CellPosition cell : cells) {
            findings.push_back({rule.kind, Severity::Error, cell,
                                cellPlace(cell) + ": " + rule.oneOf + " " + std::to_string(count) +
                                    " " + rule.several + "; " + rule.needed});
        }
    }
}

} // namespace

std::vector<StageFinding> findStageFindings(const Etap& etap, const CellCounts& counts) {
    std::vector<StageFinding> findings;
    const int starts = counts.of(kod::Start);
    const int exits = counts.of(kod::Wyjscie);
    // Most stages hold nothing the walk would find: it is made only when the counts say so.
    const bool cellsToFind = counts.ofKind(UnknownKind) > 0 || starts > 1 || exits > 1;
    std::vector<CellPosition> startCells;
    std::vector<CellPosition> exitCells;
    const int rows = std::clamp<int32_t>(etap.parametry.Wys, 0, MaxWymiar);
    const int columns = std::clamp<int32_t>(etap.parametry.Szer, 0, MaxWymiar);
    for (int row = 1; cellsToFind && row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            const char code = etap.plansza.at(column, row);
            const CellPosition cell{column, row};
            if (!isKnownCode(code)) {
                findings.push_back(foreignCodeFinding(code, cell));
            } else if (code == kod::Start) {
                startCells.push_back(cell);
            } else if (code == kod::Wyjscie) {
                exitCells.push_back(cell);
            }
        }
    }
    applyOneOnlyRule(StartRule, starts, startCells, findings);
    applyOneOnlyRule(ExitRule, exits, exitCells, findings);
    const int diamonds = counts.of(kod::Diament);
    if (diamonds < etap.parametry.IleD) {
        findings.push_back({FindingKind::FewerDiamonds, Severity::Warning, std::nullopt,
                            fewerDiamondsText(diamonds, etap.parametry.IleD)});
    }
    return findings;
}

std::string fewerDiamondsText(int diamonds, int32_t toCollect) {
    return "mniej diamentów na planszy (" + std::to_string(diamonds) + ") niż do zebrania (" +
           std::to_string(toCollect) + ")";
}

} // namespace krelwin
