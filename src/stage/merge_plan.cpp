#include "merge_plan.h"

#include "stage_matching.h"

#include <list>
#include <optional>

namespace krelwin {

namespace {

using Kind = MergeConflict::Kind;

enum class Pick { Ours, Theirs, Conflict };

// The three-way rule for one value: a side that kept the base's value takes the other's.
Pick pick(bool oursSameAsTheirs, bool oursSameAsBase, bool theirsSameAsBase) {
    if (oursSameAsTheirs || theirsSameAsBase) {
        return Pick::Ours;
    }
    return oursSameAsBase ? Pick::Theirs : Pick::Conflict;
}

struct Entry {
    MergedStage stage;
    std::optional<MergedStage> copy; // their version, right after ours
    std::vector<Kind> conflicts;
    bool oursOnly = false; // added by ours alone: theirs' stages inserted here go after it
};

using Entries = std::list<Entry>;
using Place = Entries::iterator;

class MergePlanner {
public:
    MergePlanner(const std::vector<StageIdentity>& base, const std::vector<StageIdentity>& ours,
                 const std::vector<StageIdentity>& theirs)
        : base_(base), ours_(ours), theirs_(theirs), toOurs_(matchStages(base, ours)),
          toTheirs_(matchStages(base, theirs)), oursToTheirs_(matchStages(ours, theirs)),
          placeOfTheirs_(theirs.size()) {}

    MergePlan run() {
        takeOurs();
        followTheirMoves();
        insertTheirsOnly();
        return flatten();
    }

private:
    const std::vector<StageIdentity>& base_;
    const std::vector<StageIdentity>& ours_;
    const std::vector<StageIdentity>& theirs_;
    const StageMatching toOurs_;
    const StageMatching toTheirs_;
    const StageMatching oursToTheirs_;
    Entries result_;
    std::vector<std::optional<Place>> placeOfTheirs_; // where each theirs stage is in the result

    static StageSource fromOurs(long o) { return {PackSide::Ours, o}; }
    static StageSource fromTheirs(long t) { return {PackSide::Theirs, t}; }

    const StageIdentity& identity(const StageSource& source) const {
        return (source.side == PackSide::Ours ? ours_ : theirs_)[source.index];
    }

    std::string writtenName(const MergedStage& stage) const {
        const std::string name = shownName(identity(stage.name));
        return stage.conflictCopy ? name + std::string(ConflictSuffix) : name;
    }

    // Ours' stages in ours' order, each merged with its theirs counterpart.
    void takeOurs() {
        for (long o = 0; o < static_cast<long>(ours_.size()); ++o) {
            Entry entry{{fromOurs(o), fromOurs(o)}, std::nullopt, {}, false};
            long t = Unpaired;
            const long b = toOurs_.oldOf[o];
            if (b != Unpaired) {
                t = toTheirs_.newOf[b];
                if (t == Unpaired && ours_[o] == base_[b]) {
                    continue; // removed by theirs, untouched by ours
                }
                if (t == Unpaired) {
                    entry.conflicts.push_back(Kind::RemovedInTheirs);
                } else {
                    mergeWithTheirs(entry, b, o, t);
                }
            } else {
                t = oursToTheirs_.newOf[o];
                if (t != Unpaired && toTheirs_.oldOf[t] == Unpaired) {
                    // Both added it: the same stage, once, or two forms of it.
                    if (ours_[o] != theirs_[t]) {
                        entry.copy = MergedStage{fromTheirs(t), fromTheirs(t), true};
                        entry.conflicts.push_back(Kind::AddedOnBoth);
                    }
                } else {
                    t = Unpaired;
                    entry.oursOnly = true;
                }
            }
            const Place place = result_.insert(result_.end(), std::move(entry));
            if (t != Unpaired) {
                placeOfTheirs_[t] = place;
            }
        }
    }

    void mergeWithTheirs(Entry& entry, long b, long o, long t) const {
        const StageIdentity& base = base_[b];
        const StageIdentity& ours = ours_[o];
        const StageIdentity& theirs = theirs_[t];
        const Pick name = pick(ours.nameLine == theirs.nameLine, ours.nameLine == base.nameLine,
                               theirs.nameLine == base.nameLine);
        const Pick content =
            pick(ours.sameContent(theirs), ours.sameContent(base), theirs.sameContent(base));
        if (name == Pick::Conflict || content == Pick::Conflict) {
            entry.copy = MergedStage{fromTheirs(t), fromTheirs(t), true};
            entry.conflicts.push_back(Kind::ChangedOnBoth);
            return;
        }
        entry.stage.name = name == Pick::Theirs ? fromTheirs(t) : fromOurs(o);
        entry.stage.content = content == Pick::Theirs ? fromTheirs(t) : fromOurs(o);
    }

    // Where a theirs stage goes: after the nearest stage before it in theirs that the result
    // holds (at the start when none), past the stages only ours added there.
    Place insertionPoint(long t) {
        Place at = result_.begin();
        for (long before = t - 1; before >= 0; --before) {
            if (placeOfTheirs_[before]) {
                at = std::next(*placeOfTheirs_[before]);
                break;
            }
        }
        while (at != result_.end() && at->oursOnly) {
            ++at;
        }
        return at;
    }

    void followTheirMoves() {
        for (long t = 0; t < static_cast<long>(theirs_.size()); ++t) {
            const long b = toTheirs_.oldOf[t];
            if (b == Unpaired || !toTheirs_.moved[b] || !placeOfTheirs_[t]) {
                continue;
            }
            const Place place = *placeOfTheirs_[t];
            const Place target = insertionPoint(t);
            if (target == place || target == std::next(place)) {
                continue; // already where theirs has it
            }
            if (toOurs_.moved[b]) {
                place->conflicts.push_back(Kind::MovedOnBoth);
                continue;
            }
            result_.splice(target, result_, place);
        }
    }

    void insertTheirsOnly() {
        for (long t = 0; t < static_cast<long>(theirs_.size()); ++t) {
            if (placeOfTheirs_[t]) {
                continue;
            }
            Entry entry{{fromTheirs(t), fromTheirs(t)}, std::nullopt, {}, false};
            const long b = toTheirs_.oldOf[t];
            if (b != Unpaired) {
                // Removed by ours (ours would have placed it otherwise).
                if (theirs_[t] == base_[b]) {
                    continue;
                }
                entry.stage.conflictCopy = true;
                entry.conflicts.push_back(Kind::RemovedInOurs);
            }
            placeOfTheirs_[t] = result_.insert(insertionPoint(t), std::move(entry));
        }
    }

    MergePlan flatten() const {
        MergePlan plan;
        for (const Entry& entry : result_) {
            const long index = static_cast<long>(plan.stages.size());
            plan.stages.push_back(entry.stage);
            if (entry.copy) {
                plan.stages.push_back(*entry.copy);
            }
            for (const Kind kind : entry.conflicts) {
                plan.conflicts.push_back({kind, index, writtenName(entry.stage),
                                          entry.copy ? index + 1 : -1,
                                          entry.copy ? writtenName(*entry.copy) : std::string()});
            }
        }
        return plan;
    }
};

} // namespace

MergePlan planMerge(const std::vector<StageIdentity>& base, const std::vector<StageIdentity>& ours,
                    const std::vector<StageIdentity>& theirs) {
    return MergePlanner(base, ours, theirs).run();
}

} // namespace krelwin
