// A pack's stages in one pass over the file: for each, its name line, a digest of its record
// and where the record lies, so that two or three packs of thousands of stages can be matched
// stage by stage without holding any of them.
//
// A stage's record runs from its name line (the line before its "}" line) to the next stage's
// name line, or to the end of the file, as the commands that rearrange a pack take it. What
// follows the name line, from the "}" line on, is the stage's content: its parameters and cells
// as stored, read with every line ended by CR LF (canonical_reader.h), so that line ends that
// the game reads alike never make two stages differ.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace krelwin {

// What tells one stage from another.
struct StageIdentity {
    std::string nameLine; // as stored, without its line end; empty when the stage has none
    uint64_t contentHash = 0;
    std::size_t contentLength = 0;

    bool sameContent(const StageIdentity& other) const {
        return contentHash == other.contentHash && contentLength == other.contentLength;
    }
    bool operator==(const StageIdentity&) const = default;
};

// Where a stage's record lies in the file.
struct RecordPlace {
    off_t start = 0;          // the name line
    off_t contentStart = 0;   // the "}" line
    std::optional<off_t> end; // the next record's name line; none: the end of the file
    bool hasNameLine() const { return start < contentStart; }
};

struct PackIndex {
    std::vector<StageIdentity> stages;
    std::vector<RecordPlace> places;    // one per stage
    bool linesBeforeFirstStage = false; // text that belongs to no stage (all of it when none)
    bool bytesAfterEndMark = false;
};

// Called with each stage's index, its record's place and its name line and content as
// `indexPack` reads them (views that live during the call); may throw to stop the reading.
using RecordInspector = std::function<void(long index, const RecordPlace& place,
                                           std::string_view nameLine, std::string_view content)>;

// Reads the file at `fd` from its start, once. Throws InOutError.
PackIndex indexPack(int fd, const RecordInspector& inspect = {});

// The record's name: all but the first and last characters of its name line.
std::string shownName(const StageIdentity& stage);

} // namespace krelwin
