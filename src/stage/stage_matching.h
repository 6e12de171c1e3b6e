// Which stage of one pack is which stage of another: the rules by which the diff and the merge
// of packs follow a stage that was moved, renamed or changed.
//
//  1. Same content: stages whose parameters and cells (their whole content after the name line)
//     are identical are the same stage. A stage whose content stands once in each pack is
//     paired at once. Among several identical stages (duplicates), those of the same name are
//     paired first, then the rest: each time the pair whose new stage stands nearest to where
//     the old one is expected, so that of two copies the one that kept its place stays paired
//     with its old self and a changed copy is left to step 2.
//  2. Same name nearby: of the stages still unpaired, an old and a new stage with the same name
//     line are the same, changed stage when the new one stands within NearbyStages of where the
//     old one is expected. Old stages are taken in file order, each choosing the nearest
//     candidate, the first in file order on a tie.
//  3. What is left is removed (old) or added (new).
//
// Where an old stage is expected in the new pack follows the pairs made before around it: as
// far from the new place of the nearest paired stage before it as it stands from that stage in
// the old pack, or likewise from the nearest paired stage after it (the packs' starts and ends
// count as paired); the nearer of the two places counts.
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
