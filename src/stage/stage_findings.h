// What is wrong with a stage in memory, or worth a second look before it goes to the game: the
// findings the editor lists for the stage it shows and `krelwin-stage check` reports for each
// stage of a file. Each finding that belongs to a cell carries it, so that a list of findings
// can lead to the cell.
#pragma once

#include "cell_counts.h"
#include "plansza.h"

#include <optional>
#include <string>
#include <vector>

namespace krelwin {

enum class Severity {
    Error,   // the game or the editor's writes cannot take the stage as it stands
    Warning, // the stage can be written and played, but may not be what its designer meant
};

enum class FindingKind {
    StartCount,     // no start "S", or one of several (error)
    ExitCount,      // no exit "W", or one of several (error)
    FewerDiamonds,  // fewer diamond cells than diamonds to collect, IleD (warning)
    UnwritableCell, // a cell holding "(", "}", CR, LF or byte 26, which a write refuses (error)
    UnknownCode,    // a cell holding a code outside the alphabet (error)
};

struct CellPosition {
    int column;
    int row;
    bool operator==(const CellPosition&) const = default;
};

struct StageFinding {
    FindingKind kind;
    Severity severity;
    std::optional<CellPosition> cell; // where the finding has one
    std::string text;                 // in Polish
    bool operator==(const StageFinding&) const = default;
};

// Every finding of the stage's interior as a write stores it (at most 80 by 80): first the
// cells, row by row from the top as the record stores them, each cell a write refuses and each
// code outside the alphabet; then the starts, the exits (each of several with its cell, or one
// finding without a cell when there is none), and last the diamonds. `counts` are the stage's
// own (countCells, or the editor's InteriorCounter).
std::vector<StageFinding> findStageFindings(const Etap& etap, const CellCounts& counts);
inline std::vector<StageFinding> findStageFindings(const Etap& etap) {
    return findStageFindings(etap, countCells(etap));
}

// The warning's text, for a check that counts diamonds without a stage in memory.
std::string fewerDiamondsText(int diamonds, int32_t toCollect);

} // namespace krelwin
