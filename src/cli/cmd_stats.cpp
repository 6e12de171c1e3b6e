#include "commands.h"

#include "cell_counts.h"
#include "cell_kinds.h"
#include "stage_file.h"

namespace krelwin::cli {

int runStats(const CommandLine& line, std::ostream& out) {
    const int index = parseIntegerArgument(line.positional[1], "INDEX", 0);
    Etap etap;
    CzytajEtap(line.positional[0], index, etap);
    const CellCounts counts = countCells(etap);
    for (const char code : codesInListingOrder()) {
        if (const int count = counts.of(code); count > 0) {
            out << shownCode(code) << '\t' << count << '\t' << kindNameOf(code) << '\n';
        }
    }
    out << diamondsText(counts, etap.parametry.IleD) << '\n';
    return ExitSuccess;
}

} // namespace krelwin::cli
