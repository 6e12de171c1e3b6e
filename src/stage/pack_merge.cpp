#include "pack_merge.h"

#include "canonical_reader.h"
#include "errors.h"
#include "file_system.h"
#include "safe_write.h"
#include "self_contained_record.h"
#include "stage_record.h"

#include <fcntl.h>

namespace krelwin {

namespace {

// One of the three versions, named in messages by its part in the merge.
struct Version {
    const std::string& path;
    const char* role; // "wersja wspólna", "nasza wersja", "ich wersja"
};

WriteRefused notMergeable(const Version& version, const std::string& problem,
                          const std::string& oursPath) {
    return WriteRefused("Nie można scalić: " + std::string(version.role) + " (" +
                        shownText(version.path) + ") " + problem + ". Plik " + shownText(oursPath) +
                        " nie został zmieniony.");
}

// The pack's index, refused unless every record stands on its own and nothing would be lost.
PackIndex indexMergeable(int fd, const Version& version, const std::string& oursPath) {
    PackIndex pack = indexPack(fd, [&](long index, const RecordPlace& place,
                                       std::string_view nameLine, std::string_view content) {
        const std::string problem = selfContainedProblem(place, nameLine, content);
        if (!problem.empty()) {
            throw notMergeable(
                version, "ma w etapie nr " + std::to_string(index) + " błąd: " + problem, oursPath);
        }
    });
    if (pack.linesBeforeFirstStage) {
        throw notMergeable(version,
                           pack.stages.empty() ? "nie zawiera żadnego etapu, a nie jest pusta"
                                               : "ma wiersze przed pierwszym etapem",
                           oursPath);
    }
    if (pack.bytesAfterEndMark) {
        throw notMergeable(version, "ma dane po bajcie 26 (Ctrl-Z), które przy scalaniu by zginęły",
                           oursPath);
    }
    return pack;
}

struct Side {
    const PackIndex& pack;
    CanonicalReader& records;
};

// The stage's name line, then its content copied straight from the version it comes from.
void writeStage(const MergedStage& stage, const Side& ours, const Side& theirs, SafeWrite& out) {
    const Side& named = stage.name.side == PackSide::Ours ? ours : theirs;
    const Side& filled = stage.content.side == PackSide::Ours ? ours : theirs;
    const StageIdentity& identity = named.pack.stages[stage.name.index];
    out.write(stage.conflictCopy ? nameLine(shownName(identity) + std::string(ConflictSuffix))
                                 : identity.nameLine);
    out.write(LineEnd);
    const RecordPlace& place = filled.pack.places[stage.content.index];
    filled.records.copy(place.contentStart, place.end,
                        [&out](std::string_view piece) { out.write(piece); });
}

} // namespace

std::vector<MergeConflict> mergePacks(const std::string& basePath, const std::string& oursPath,
                                      const std::string& theirsPath) {
    requireStageFile(basePath);
    requireStageFile(theirsPath);
    requireStageFile(oursPath);
    const FileDescriptor baseFd = openStageFile(basePath, O_RDONLY);
    const FileDescriptor theirsFd = openStageFile(theirsPath, O_RDONLY);
    SafeWrite out(oursPath, SafeWrite::IfMissing::Fail);
    const PackIndex base = indexMergeable(baseFd.get(), {basePath, "wersja wspólna"}, oursPath);
    const PackIndex ours = indexMergeable(out.stageFd(), {oursPath, "nasza wersja"}, oursPath);
    const PackIndex theirs = indexMergeable(theirsFd.get(), {theirsPath, "ich wersja"}, oursPath);
    const MergePlan plan = planMerge(base.stages, ours.stages, theirs.stages);
    CanonicalReader oursRecords(out.stageFd());
    CanonicalReader theirsRecords(theirsFd.get());
    const Side oursSide{ours, oursRecords};
    const Side theirsSide{theirs, theirsRecords};
    for (const MergedStage& stage : plan.stages) {
        writeStage(stage, oursSide, theirsSide, out);
    }
    out.commit();
    return plan.conflicts;
}

} // namespace krelwin
