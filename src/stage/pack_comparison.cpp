#include "pack_comparison.h"

#include <algorithm>
#include <fcntl.h>
#include <tuple>

namespace krelwin {

PackComparison::PackComparison(const std::optional<std::string>& oldPath,
                               const std::optional<std::string>& newPath)
    : old_(read(oldPath)), new_(read(newPath)) {
    listEvents(matchStages(old_.index.stages, new_.index.stages));
}

PackComparison::~PackComparison() = default;

PackComparison::Pack PackComparison::read(const std::optional<std::string>& path) {
    Pack pack;
    if (path) {
        requireStageFile(*path);
        pack.fd = openStageFile(*path, O_RDONLY);
        pack.index = indexPack(pack.fd.get());
        pack.records = std::make_unique<CanonicalReader>(pack.fd.get());
    }
    return pack;
}

std::string PackComparison::content(Pack& pack, long index) {
    const RecordPlace& place = pack.index.places[index];
    std::string bytes;
    pack.records->append(place.contentStart, place.end, bytes);
    return bytes;
}

std::pair<std::string, std::string> PackComparison::contents(const StageEvent& event) {
    return {content(old_, event.oldIndex), content(new_, event.newIndex)};
}

void PackComparison::listEvents(const StageMatching& matching) {
    // Sorted by the place in the new pack; a removed stage right after the new place of the
    // nearest old stage before it that was kept in order.
    using Key = std::tuple<long, int, long>;
    std::vector<std::pair<Key, StageEvent>> sorted;
    long keptBefore = -1;
    for (long o = 0; o < static_cast<long>(matching.newOf.size()); ++o) {
        const long n = matching.newOf[o];
        if (n == Unpaired) {
            sorted.push_back({{keptBefore, 1, o}, {StageEvent::Kind::Removed, o}});
            continue;
        }
        if (!matching.moved[o]) {
            keptBefore = n;
        }
        StageEvent kept{StageEvent::Kind::Kept,
                        o,
                        n,
                        matching.moved[o],
                        oldStage(o).nameLine != newStage(n).nameLine,
                        !oldStage(o).sameContent(newStage(n))};
        if (kept.moved || kept.renamed || kept.changed) {
            sorted.push_back({{n, 0, o}, kept});
        }
    }
    for (long n = 0; n < static_cast<long>(matching.oldOf.size()); ++n) {
        if (matching.oldOf[n] == Unpaired) {
            sorted.push_back({{n, 0, -1}, {StageEvent::Kind::Added, Unpaired, n}});
        }
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key, event] : sorted) {
        events_.push_back(event);
    }
}

} // namespace krelwin
