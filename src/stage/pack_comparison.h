// Two packs compared stage by stage, as a designer reads a change of a pack: which stages were
// removed, added, moved, renamed or changed (stage_matching.h says which stage is which), and
// for a changed one, its two contents to compare (stage_changes.h).
#pragma once

#include "canonical_reader.h"
#include "file_system.h"
#include "pack_index.h"
#include "stage_matching.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace krelwin {

// One stage that differs.
struct StageEvent {
    enum class Kind { Removed, Added, Kept };
    Kind kind;
    long oldIndex = Unpaired;
    long newIndex = Unpaired;
    bool moved = false;   // out of the order of the others (a kept stage)
    bool renamed = false; // its name line differs
    bool changed = false; // its parameters or cells (its content) differ
    bool operator==(const StageEvent&) const = default;
};

class PackComparison {
public:
    // Reads each file once. A path not given stands for an empty pack, as a version control
    // system passes for a file that is added or removed. Throws MissingFileMessage,
    // NotRegularFileMessage, InOutError.
    PackComparison(const std::optional<std::string>& oldPath,
                   const std::optional<std::string>& newPath);
    ~PackComparison();

    // The stages that differ, in the order of the new pack; a removed stage comes after the
    // stage that preceded it in the old pack, and a stage that only shifted because others
    // came or went before it is not among them.
    const std::vector<StageEvent>& events() const { return events_; }
    bool sameStages() const { return events_.empty(); }

    const StageIdentity& oldStage(long index) const { return old_.index.stages[index]; }
    const StageIdentity& newStage(long index) const { return new_.index.stages[index]; }

    // The old and new content of a kept stage, read from the files again.
    std::pair<std::string, std::string> contents(const StageEvent& event);

private:
    struct Pack {
        FileDescriptor fd;
        PackIndex index;
        std::unique_ptr<CanonicalReader> records;
    };
    static Pack read(const std::optional<std::string>& path);
    static std::string content(Pack& pack, long index);
    void listEvents(const StageMatching& matching);

    Pack old_;
    Pack new_;
    std::vector<StageEvent> events_;
};

} // namespace krelwin
