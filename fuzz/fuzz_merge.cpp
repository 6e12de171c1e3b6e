// Feeds arbitrary packs to the three-way merge. The input is a header of five bytes and the
// packs: byte 0 modulo 3 picks the form (0: base, ours and theirs as given; 1: theirs is the
// base; 2: ours is the base), bytes 1-2 and 3-4 (little-endian) the lengths of the base and of
// ours, each cut to what is left; theirs is the rest.
//
// Findings: a crash, hang or sanitizer report; an error that is not one of the program's own
// messages; ours changed by a refused merge; a file left beside the packs or a descriptor left
// open; a merged pack that, merged with itself, is refused, conflicts or changes; and, where one
// side kept the base as it was, a conflict or a result other than the changed side's stages in
// its order.
#include "errors.h"
#include "file_system.h"
#include "memory_file_system.h"
#include "pack_index.h"
#include "pack_merge.h"

#include <fcntl.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* Folder = "/krelwin-fuzz-in-memory";
const std::string BasePath = std::string(Folder) + "/base.map";
const std::string OursPath = std::string(Folder) + "/ours.map";
const std::string TheirsPath = std::string(Folder) + "/theirs.map";

void require(bool condition) {
    if (!condition)
        std::abort();
}

struct Packs {
    int form = 0;
    std::string base, ours, theirs;
};

Packs split(const uint8_t* data, size_t size) {
    Packs packs;
    if (size < 5)
        return packs;
    packs.form = data[0] % 3;
    std::string rest(reinterpret_cast<const char*>(data + 5), size - 5);
    const auto take = [&rest](size_t length) {
        length = std::min(length, rest.size());
        std::string piece = rest.substr(0, length);
        rest.erase(0, length);
        return piece;
    };
    packs.base = take(size_t(data[1]) | size_t(data[2]) << 8);
    packs.ours = take(size_t(data[3]) | size_t(data[4]) << 8);
    packs.theirs = rest;
    if (packs.form == 1)
        packs.theirs = packs.base;
    if (packs.form == 2)
        packs.ours = packs.base;
    return packs;
}

std::vector<krelwin::StageIdentity> stagesOf(const std::string& path) {
    const krelwin::FileDescriptor fd = krelwin::openStageFile(path, O_RDONLY);
    return krelwin::indexPack(fd.get()).stages;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Packs packs = split(data, size);
    fuzzing::MemoryFileSystem files(Folder);
    const krelwin::ScopedFileSystem inForce(files);
    files.setContents(BasePath, packs.base);
    files.setContents(OursPath, packs.ours);
    files.setContents(TheirsPath, packs.theirs);

    std::vector<krelwin::MergeConflict> conflicts;
    bool refused = false;
    try {
        conflicts = krelwin::mergePacks(BasePath, OursPath, TheirsPath);
    } catch (const krelwin::PlainMessage&) {
        refused = true;
    } catch (const krelwin::RuntimeError&) {
        refused = true;
    }
    require(files.namesIn(Folder) ==
            std::vector<std::string>({"base.map", "ours.map", "theirs.map"}));
    require(files.allClosed());
    const std::string merged = *files.contents(OursPath);
    if (refused) {
        require(merged == packs.ours);
        return 0;
    }

    // What the merge wrote is a pack it takes again: merged with itself it is left as it is.
    files.setContents(BasePath, merged);
    files.setContents(TheirsPath, merged);
    require(krelwin::mergePacks(BasePath, OursPath, TheirsPath).empty());
    require(*files.contents(OursPath) == merged);

    // One side as the base had it: the other side's stages, in its order, without a conflict.
    if (packs.form != 0) {
        require(conflicts.empty());
        files.setContents(OursPath, packs.form == 1 ? packs.ours : packs.theirs);
        const std::vector<krelwin::StageIdentity> changed = stagesOf(OursPath);
        files.setContents(OursPath, merged);
        require(stagesOf(OursPath) == changed);
    }
    return 0;
}
