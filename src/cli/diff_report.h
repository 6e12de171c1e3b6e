// The text of krelwin-stage diff: what changed between two packs, in Polish, a stage per
// headline, and for a changed stage its parameters (old → new) and the rows whose cells differ,
// old above new, with a line of "^" under the changed cells. Stages are numbered from 0, as
// every krelwin-stage command numbers them.
#pragma once

#include "pack_comparison.h"
#include "stage_changes.h"

#include <ostream>
#include <string>

namespace krelwin::cli {

// "Etap nr 3 „Jaskinia” przeniesiony na pozycję nr 5", "Etap nr 7 „Nowy” dodany", ...; a
// changed stage's headline ends in ":".
std::string headline(const PackComparison& comparison, const StageEvent& event);

// The lines under a changed stage's headline, each ended by LF.
std::string changeDetails(const StageChanges& changes);

} // namespace krelwin::cli
