// The three-way merge of packs, decided stage by stage: one-sided changes taken, equal changes
// taken once, differing ones kept side by side as conflicts, and the order of ours with the
// moves and additions of theirs.
#include "merge_plan.h"

#include "stage_identities.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

using Kind = MergeConflict::Kind;

struct Merge {
    const char* what;
    std::vector<std::string> base, ours, theirs;
    std::vector<std::string> result;              // "A1"; "A (konflikt)6" for a copy
    std::vector<std::pair<Kind, long>> conflicts; // kind and index in the result
};

// The merged stages written the way the cases are: name, then the content's number.
std::vector<std::string> written(const MergePlan& plan, const std::vector<StageIdentity>& ours,
                                 const std::vector<StageIdentity>& theirs) {
    std::vector<std::string> stages;
    for (const MergedStage& stage : plan.stages) {
        const auto& named = stage.name.side == PackSide::Ours ? ours : theirs;
        const auto& filled = stage.content.side == PackSide::Ours ? ours : theirs;
        const std::string name = named[stage.name.index].nameLine;
        stages.push_back(name.substr(1, name.size() - 2) +
                         (stage.conflictCopy ? " (konflikt)" : "") +
                         std::to_string(filled[stage.content.index].contentHash));
    }
    return stages;
}

TEST(MergePlan, DecidesEachStageAndItsPlace) {
    const std::vector<std::string> abc{"A1", "B2", "C3"};
    const std::vector<std::string> abcd{"A1", "B2", "C3", "D4"};
    const std::vector<Merge> cases{
        {"nothing changed", abc, abc, abc, abc, {}},
        {"each side changed another stage",
         abc,
         {"A9", "B2", "C3"},
         {"A1", "B2", "C8"},
         {"A9", "B2", "C8"},
         {}},
        {"both changed a stage alike",
         abc,
         {"A1", "B7", "C3"},
         {"A1", "B7", "C3"},
         {"A1", "B7", "C3"},
         {}},
        {"both changed a stage differently",
         abc,
         {"A1", "B7", "C3"},
         {"A1", "B6", "C3"},
         {"A1", "B7", "B (konflikt)6", "C3"},
         {{Kind::ChangedOnBoth, 1}}},
        {"renamed in ours, cells changed in theirs",
         abc,
         {"A1", "X2", "C3"},
         {"A1", "B6", "C3"},
         {"A1", "X6", "C3"},
         {}},
        {"renamed differently on both",
         abc,
         {"A1", "X2", "C3"},
         {"A1", "Y2", "C3"},
         {"A1", "X2", "Y (konflikt)2", "C3"},
         {{Kind::ChangedOnBoth, 1}}},
        {"removed in ours", abc, {"A1", "C3"}, abc, {"A1", "C3"}, {}},
        {"removed in theirs", abc, abc, {"A1", "C3"}, {"A1", "C3"}, {}},
        {"removed in ours, changed in theirs",
         abc,
         {"A1", "C3"},
         {"A1", "B6", "C3"},
         {"A1", "B (konflikt)6", "C3"},
         {{Kind::RemovedInOurs, 1}}},
        {"changed in ours, removed in theirs",
         abc,
         {"A1", "B7", "C3"},
         {"A1", "C3"},
         {"A1", "B7", "C3"},
         {{Kind::RemovedInTheirs, 1}}},
        {"moved in ours, changed in theirs",
         abc,
         {"B2", "C3", "A1"},
         {"A9", "B2", "C3"},
         {"B2", "C3", "A9"},
         {}},
        {"changed in ours, moved in theirs",
         abc,
         {"A9", "B2", "C3"},
         {"B2", "C3", "A1"},
         {"B2", "C3", "A9"},
         {}},
        {"each side moved another stage",
         abcd,
         {"B2", "C3", "D4", "A1"},
         {"D4", "A1", "B2", "C3"},
         {"D4", "B2", "C3", "A1"},
         {}},
        {"both moved a stage alike",
         abcd,
         {"B2", "C3", "D4", "A1"},
         {"B2", "C3", "D4", "A1"},
         {"B2", "C3", "D4", "A1"},
         {}},
        {"both moved a stage to different places",
         abcd,
         {"B2", "C3", "D4", "A1"},
         {"B2", "A1", "C3", "D4"},
         {"B2", "C3", "D4", "A1"},
         {{Kind::MovedOnBoth, 3}}},
        {"both added the same stage", {"A1"}, {"A1", "N5"}, {"A1", "N5"}, {"A1", "N5"}, {}},
        {"both added a stage of one name differently",
         {"A1"},
         {"A1", "N5"},
         {"A1", "N6"},
         {"A1", "N5", "N (konflikt)6"},
         {{Kind::AddedOnBoth, 1}}},
        {"both added other stages at one place: ours first",
         {"A1", "B2"},
         {"A1", "X5", "B2"},
         {"A1", "Y6", "B2"},
         {"A1", "X5", "Y6", "B2"},
         {}},
        {"added after a stage that ours removed",
         abc,
         {"A1", "C3"},
         {"A1", "B2", "N7", "C3"},
         {"A1", "N7", "C3"},
         {}},
        {"added first in theirs", abc, abc, {"N7", "A1", "B2", "C3"}, {"N7", "A1", "B2", "C3"}, {}},
        {"a file added on both sides", {}, {"A1"}, {"B2"}, {"A1", "B2"}, {}},
        {"each side changed another of two copies",
         {"A1", "A1"},
         {"A7", "A1"},
         {"A1", "A8"},
         {"A7", "A8"},
         {}},
    };
    for (const Merge& c : cases) {
        const std::vector<StageIdentity> ours = pack(c.ours);
        const std::vector<StageIdentity> theirs = pack(c.theirs);
        const MergePlan plan = planMerge(pack(c.base), ours, theirs);
        EXPECT_EQ(written(plan, ours, theirs), c.result) << c.what;
        std::vector<std::pair<Kind, long>> conflicts;
        for (const MergeConflict& conflict : plan.conflicts) {
            conflicts.emplace_back(conflict.kind, conflict.index);
        }
        EXPECT_EQ(conflicts, c.conflicts) << c.what;
    }
}

TEST(MergePlan, NamesBothVersionsOfAConflict) {
    const MergePlan plan = planMerge(pack({"Jaskinia1"}), pack({"Jaskinia2"}), pack({"Jaskinia3"}));
    ASSERT_EQ(plan.conflicts.size(), 1u);
    EXPECT_EQ(plan.conflicts[0],
              (MergeConflict{Kind::ChangedOnBoth, 0, "Jaskinia", 1, "Jaskinia (konflikt)"}));
}

} // namespace
} // namespace krelwin
