#include "stage_places.h"

#include "file_system.h"
#include "line_reader.h"
#include "stage_locator.h"
#include "stage_sequence.h"

#include <fcntl.h>

namespace krelwin {

std::vector<StagePlace> readStagePlaces(const std::string& path) {
    requireStageFile(path);
    const FileDescriptor fd = openStageFile(path, O_RDONLY);
    StageLocator stages(fd.get());
    std::vector<StagePlace> places;
    while (const std::optional<StageSpan> span = stages.next()) {
        places.push_back({listedName(stages, *span), span->afterBraceLine});
    }
    return places;
}

Etap loadStageAt(const std::string& path, off_t linesStart) {
    requireStageFile(path);
    const FileDescriptor fd = openStageFile(path, O_RDONLY);
    LineReader reader(fd.get());
    reader.moveTo(linesStart);
    return loadStageFrom(reader);
}

} // namespace krelwin
