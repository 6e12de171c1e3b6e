#include "pack_index.h"

#include "canonical_reader.h"
#include "content_hash.h"
#include "line_splitter.h"
#include "stage_locator.h"
#include "stage_record.h"

namespace krelwin {

namespace {

// The bytes the stage locator has read, from the start of the record in hand on: the records
// are taken from the blocks of its one walk over the file.
class ReadWindow {
public:
    void append(std::string_view block) { bytes_.append(block); }
    off_t end() const { return start_ + static_cast<off_t>(bytes_.size()); }
    std::string_view bytes(off_t from, off_t to) const {
        return std::string_view(bytes_).substr(static_cast<std::size_t>(from - start_),
                                               static_cast<std::size_t>(to - from));
    }
    // Forgets what lies before `offset`; the bytes move down only now and then, so that each is
    // moved about once.
    void dropBefore(off_t offset) {
        const auto dropped = static_cast<std::size_t>(offset - start_);
        if (dropped > 0 && dropped >= bytes_.size() / 2) {
            bytes_.erase(0, dropped);
            start_ = offset;
        }
    }

private:
    std::string bytes_;
    off_t start_ = 0; // where the first byte held stands in the file
};

} // namespace

PackIndex indexPack(int fd, const RecordInspector& inspect) {
    PackIndex pack;
    StageLocator stages(fd);
    ReadWindow window;
    stages.onBlock([&](std::string_view block) { window.append(block); });
    std::optional<StageSpan> current = stages.next();
    std::string canonical;
    while (current) {
        const std::optional<StageSpan> following = stages.next();
        const RecordPlace place{current->nameLine, current->braceLine,
                                following ? std::optional<off_t>(following->nameLine)
                                          : std::nullopt};
        std::string_view record = window.bytes(place.start, place.end.value_or(window.end()));
        if (!isCanonical(record)) {
            canonical.clear();
            appendCanonical(record, canonical);
            record = canonical;
        }
        // Read canonically, every CR ends a line and an LF follows it.
        const std::size_t nameEnd = place.hasNameLine() ? record.find(CarriageReturn) : 0;
        const std::size_t contentStart = place.hasNameLine() ? nameEnd + LineEnd.size() : 0;
        const std::string_view nameLine = record.substr(0, nameEnd);
        const std::string_view content = record.substr(contentStart);
        if (inspect) {
            inspect(current->index, place, nameLine, content);
        }
        pack.stages.push_back({std::string(nameLine), contentHash(content), content.size()});
        pack.places.push_back(place);
        window.dropBefore(place.end.value_or(window.end()));
        current = following;
    }
    pack.linesBeforeFirstStage =
        pack.places.empty() ? window.end() > 0 : pack.places.front().start > 0;
    pack.bytesAfterEndMark = stages.hasBytesAfterEndMark();
    return pack;
}

std::string shownName(const StageIdentity& stage) {
    return nameFromNameLine(stage.nameLine);
}

} // namespace krelwin
