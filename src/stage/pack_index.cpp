#include "pack_index.h"

#include "canonical_reader.h"
#include "content_hash.h"
#include "line_splitter.h"
#include "stage_locator.h"
#include "stage_record.h"

namespace krelwin {

PackIndex indexPack(int fd, const RecordInspector& inspect) {
    PackIndex pack;
    // The locator finds the records; the reader, on the same descriptor, follows one record
    // behind it, so the file is read about twice, each time front to back.
    StageLocator stages(fd);
    CanonicalReader records(fd);
    bool anyText = false;
    stages.onBlock([&](std::string_view block) { anyText = anyText || !block.empty(); });
    std::optional<StageSpan> current = stages.next();
    std::string record;
    while (current) {
        std::optional<StageSpan> following = stages.next();
        const RecordPlace place{current->nameLine, current->braceLine,
                                following ? std::optional<off_t>(following->nameLine)
                                          : std::nullopt};
        record.clear();
        records.append(place.start, place.end, record);
        // Read canonically, every CR ends a line and an LF follows it.
        const std::size_t contentStart =
            place.hasNameLine() ? record.find(CarriageReturn) + LineEnd.size() : 0;
        const std::string_view nameLine(record.data(),
                                        place.hasNameLine() ? contentStart - LineEnd.size() : 0);
        const std::string_view content = std::string_view(record).substr(contentStart);
        if (inspect) {
            inspect(current->index, place, nameLine, content);
        }
        pack.stages.push_back({std::string(nameLine), contentHash(content), content.size()});
        pack.places.push_back(place);
        current = std::move(following);
    }
    pack.linesBeforeFirstStage = pack.places.empty() ? anyText : pack.places.front().start > 0;
    pack.bytesAfterEndMark = stages.hasBytesAfterEndMark();
    return pack;
}

std::string shownName(const StageIdentity& stage) {
    return nameFromNameLine(stage.nameLine);
}

} // namespace krelwin
