#include "stage_sequence.h"

#include "file_system.h"
#include "line_reader.h"
#include "stage_record.h"

#include <algorithm>
#include <deque>
#include <exception>

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

namespace {

// A stage whose "}" line has been read, while its own lines are still coming.
struct PendingStage {
    StageLoad load;
    std::exception_ptr failure; // set once a line did not load; the stage then takes no more

    bool done() const { return failure || load.complete(); }
    void take(std::string_view line) {
        if (done()) {
            return;
        }
        try {
            load.take(line);
        } catch (...) {
            failure = std::current_exception();
        }
    }
};

} // namespace

void forEachStage(const std::string& path,
                  const std::function<void(int index, const Etap& etap)>& onStage) {
    requireStageFile(path);
    LineReader reader(path);
    // Oldest first. In a well-formed file it holds one stage at a time; a "}" within a stage's
    // own lines starts the next stage while the current one is still loading.
    std::deque<PendingStage> pending;
    int nextIndex = 0;
    const auto passOnFinished = [&] {
        while (!pending.empty() && pending.front().done()) {
            if (pending.front().failure) {
                std::rethrow_exception(pending.front().failure);
            }
            onStage(nextIndex++, pending.front().load.result());
            pending.pop_front();
        }
    };
    std::string_view line;
    while (reader.readLineView(line)) {
        for (PendingStage& stage : pending) {
            stage.take(line);
        }
        if (holdsMarker(line, RecordMarker)) {
            pending.emplace_back();
        }
        passOnFinished();
    }
    while (!pending.empty()) {
        for (PendingStage& stage : pending) {
            stage.take({});
        }
        passOnFinished();
    }
}

} // namespace krelwin
