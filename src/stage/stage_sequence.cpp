#include "stage_sequence.h"

#include "file_system.h"
#include "line_reader.h"
#include "stage_locator.h"
#include "stage_record.h"

#include <algorithm>
#include <fcntl.h>
#include <optional>

namespace krelwin {

void StageLoad::take(std::string_view line) {
    if (linesTaken_ == 0) {
        etap_.parametry = parseParameterLine(line);
        // The cells are read with the size as stored, but never beyond the 80 x 80 the array
        // holds.
        rows_ = std::clamp<int32_t>(etap_.parametry.Wys, 0, MaxWymiar);
        ++linesTaken_;
    } else if (linesTaken_ == 1) {
        ++linesTaken_; // the "{" line
    } else if (rowsTaken_ < rows_) {
        ++rowsTaken_;
        readCellRow(line, rowsTaken_, etap_.parametry.Szer, etap_.plansza);
    }
}

Etap StageLoad::result() const {
    Etap loaded = etap_;
    applyParameterPass(loaded.parametry);
    return loaded;
}

Etap loadStageFrom(LineReader& reader) {
    StageLoad load;
    std::string_view line;
    while (!load.complete()) {
        reader.readLineView(line);
        load.take(line);
    }
    return load.result();
}

void forEachStage(const std::string& path,
                  const std::function<void(int index, const Etap& etap)>& onStage) {
    requireStageFile(path);
    const FileDescriptor fd = openStageFile(path, O_RDONLY);
    // Both read the one descriptor, each from where it stands. A stage's lines mostly lie in the
    // block the reader already holds, so the file is read about once, front to back.
    StageLocator stages(fd.get());
    LineReader reader(fd.get());
    while (const std::optional<StageSpan> span = stages.next()) {
        reader.moveTo(span->afterBraceLine);
        onStage(static_cast<int>(span->index), loadStageFrom(reader));
    }
}

} // namespace krelwin
