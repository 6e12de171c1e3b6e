// The three-way merge of packs, stage by stage: which stage of which side goes where in the
// result. It only decides; pack_merge.h reads and writes the files.
//
// Stages are followed from the common base to each side, and added stages from one side to the
// other, by the rules of stage_matching.h. For each stage, its name line and its content (the
// parameters and cells) are merged apart, each as three-way merges do: a side that left a value
// as the base had it takes the other side's; both sides giving the same value take it once.
//  - A stage whose name or content the two sides changed differently is a conflict: ours stays
//    as it is, and their version follows right after it with ConflictSuffix added to its name.
//    So does a stage added on both sides that the matching takes for one stage, in two forms.
//  - A stage removed on one side stays removed unless the other side changed it: then the
//    changed version stays (ours as it is; theirs with the suffix, where theirs had it), and
//    that is a conflict too.
//  - The order is ours, with the stages that only theirs moved put after the stage that
//    precedes them in theirs, and the stages that only theirs added inserted likewise, after any
//    stages that only ours added at that place. A stage moved on both sides to different places
//    stays where ours has it; that is reported as a conflict.
#pragma once

#include "pack_index.h"

#include <string>
#include <string_view>
#include <vector>

namespace krelwin {

inline constexpr std::string_view ConflictSuffix = " (konflikt)";

enum class PackSide { Ours, Theirs };

struct StageSource {
    PackSide side;
    long index;
    bool operator==(const StageSource&) const = default;
};

// One stage of the result: the name line of one stage and the content of another (mostly the
// same one).
struct MergedStage {
    StageSource name;
    StageSource content;
    bool conflictCopy = false; // written under its name with ConflictSuffix added
    bool operator==(const MergedStage&) const = default;
};

struct MergeConflict {
    enum class Kind {
        ChangedOnBoth,   // ours at `index`, theirs right after it at `copyIndex`
        AddedOnBoth,     // the same
        RemovedInTheirs, // changed in ours, removed in theirs: ours stays at `index`
        RemovedInOurs,   // removed in ours, changed in theirs: their version at `index`
        MovedOnBoth,     // moved to different places: it stays at `index`, where ours has it
    };
    Kind kind;
    long index;       // in the result
    std::string name; // the name of the stage there, as it is written
    long copyIndex = -1;
    std::string copyName;
    bool operator==(const MergeConflict&) const = default;
};

struct MergePlan {
    std::vector<MergedStage> stages;
    std::vector<MergeConflict> conflicts; // in the order of the result
};

MergePlan planMerge(const std::vector<StageIdentity>& base, const std::vector<StageIdentity>& ours,
                    const std::vector<StageIdentity>& theirs);

} // namespace krelwin
