// The counts of the stage in memory, kept up to date while the editor changes it: one walk when
// a stage comes in or its size changes, then one step per changed cell, so that the status line
// can show them after every edit at no noticeable cost.
#pragma once

#include "cell_counts.h"

#include <cstdint>
#include <string>

namespace krelwin {

class InteriorCounter {
public:
    InteriorCounter() = default;
    explicit InteriorCounter(const Etap& etap) { rebuild(etap); }

    // Counts the stage anew: after a load, a new stage, a generator run, an undo of any of them.
    void rebuild(const Etap& etap);
    // Rebuilds when the stage's size is not the size counted, as after the parameters dialog;
    // returns whether it did.
    bool followSize(const Etap& etap);
    // The cell at (column, row) changed from `before` to `after`. A cell outside the interior
    // counted (the border ring, or beyond it, which a cut or a turn can reach) changes nothing.
    void cellChanged(int column, int row, char before, char after);

    const CellCounts& counts() const { return counts_; }

private:
    CellCounts counts_;
    int32_t szer_ = 0;
    int32_t wys_ = 0;
};

// What the status line shows of the counts: "Diamenty: N/M" always, and "Start: N" and
// "Wyjście: N" only while the start-and-exit rule is broken on that count (empty otherwise).
struct StatusCounts {
    std::string diamonds;
    std::string starts;
    std::string exits;
    bool operator==(const StatusCounts&) const = default;
};
StatusCounts statusCounts(const CellCounts& counts, int32_t ileD);

} // namespace krelwin
