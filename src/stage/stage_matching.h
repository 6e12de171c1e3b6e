// Which stage of one pack is which stage of another: the rules by which the diff and the merge
// of packs follow a stage that was moved, renamed or changed.
//
//  1. Same content: stages whose parameters and cells (their whole content after the name line)
//     are identical are the same stage. Among several identical stages (duplicates), those of
//     the same name are paired first, each old one with the first free new one of its name in
//     file order; the rest are paired in file order.
//  2. Same name nearby: of the stages still unpaired, an old and a new stage with the same name
//     line are the same, changed stage when the new one stands within NearbyStages of where the
//     old one is expected. The expected place follows the pairs of step 1 around it: the nearest
//     paired stage before the old one, moved by the same distance, or the nearest paired one
//     after it, likewise (the pack's start and end count as paired). Old stages are taken in
//     file order, each choosing the nearest candidate, the first in file order on a tie.
//  3. What is left is removed (old) or added (new).
//
// A paired stage counts as moved when it leaves the longest run of pairs that keep their order
// (the fewest moves that turn the old order into the new one), so that stages which only shift
// because others were added or removed before them are not moved.
#pragma once

#include "pack_index.h"

#include <vector>

namespace krelwin {

// How far from its expected place a changed stage is still found by its name.
inline constexpr long NearbyStages = 3;

inline constexpr long Unpaired = -1;

struct StageMatching {
    std::vector<long> newOf; // for each old stage, its new index, or Unpaired (removed)
    std::vector<long> oldOf; // for each new stage, its old index, or Unpaired (added)
    std::vector<bool> moved; // for each old stage
};

StageMatching matchStages(const std::vector<StageIdentity>& oldStages,
                          const std::vector<StageIdentity>& newStages);

} // namespace krelwin
