#include "stage_rewrite.h"

#include "errors.h"
#include "file_system.h"
#include "line_reader.h"
#include "line_splitter.h"
#include "stage_record.h"

#include <cerrno>
#include <limits>

namespace krelwin {

namespace {

// A file that is not there holds no stage to change; it is refused before anything is created.
void requireExistingFile(const std::string& path) {
    struct stat status {};
    if (fileSystem().stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            throw MissingFileMessage(path);
        }
        throw InOutError::fromErrno(errno);
    }
}

const std::string& checkedPath(const std::string& path, SafeWrite::IfMissing ifMissing) {
    if (ifMissing == SafeWrite::IfMissing::Fail) {
        requireExistingFile(path);
    }
    return path;
}

} // namespace

StageRewrite::StageRewrite(const std::string& path, SafeWrite::IfMissing ifMissing)
    : path_(path), out_(checkedPath(path, ifMissing), ifMissing) {}

StageLocator& StageRewrite::stages() {
    if (!stages_) {
        stages_.emplace(fd());
    }
    return *stages_;
}

Record StageRewrite::record(int index, const std::optional<std::string>& expectedName) {
    const std::optional<StageSpan> span = stages().find(index);
    requireName(index, span, expectedName);
    if (!span) {
        throw noSuchStage(index, stages().stagesFound());
    }
    return {*span, span->nameLine, stages().nextStageStart()};
}

void StageRewrite::requireName(int index, const std::optional<StageSpan>& span,
                               const std::optional<std::string>& expectedName) {
    if (expectedName && (!span || listedName(stages(), *span) != *expectedName)) {
        throw FileChangedMessage(path_, index);
    }
}

WriteRefused StageRewrite::noSuchStage(long index, long stagesInFile) const {
    return WriteRefused("Plik " + shownText(path_) + " nie zawiera etapu o numerze " +
                        std::to_string(index) + " (liczba etapów w pliku: " +
                        std::to_string(stagesInFile) + "). Plik nie został zmieniony.");
}

void StageRewrite::copy(off_t from, std::optional<off_t> to) {
    if (to && *to <= from) {
        return;
    }
    seekTo(fd(), from);
    LineReader reader(fd());
    LineSplitter splitter;
    off_t left = to ? *to - from : std::numeric_limits<off_t>::max();
    bool lineOpen = false; // bytes of an unended line have gone out
    std::string_view block;
    while (left > 0 && reader.readRawBlock(block)) {
        if (static_cast<off_t>(block.size()) > left) {
            block = block.substr(0, static_cast<std::size_t>(left));
        }
        left -= static_cast<off_t>(block.size());
        const char* const end = block.data() + block.size();
        const char* lineStart = splitter.blockStart(block.data(), end);
        const char* run = lineStart;
        bool sawLineEnd = false;
        // Runs of lines that already end in CR LF go out as one piece.
        while (const char* cr = LineSplitter::lineEnd(lineStart, end)) {
            sawLineEnd = true;
            lineStart = splitter.pastLineEnd(cr, end);
            if (lineStart == cr + 2) {
                continue; // already CR LF
            }
            // A CR alone; at the block's end its LF, if one follows, is dropped from the next.
            write(std::string_view(run, cr - run));
            write(LineEnd);
            run = lineStart;
        }
        write(std::string_view(run, end - run));
        if (lineStart < end) {
            lineOpen = true;
        } else if (sawLineEnd) {
            lineOpen = false;
        }
    }
    if (lineOpen) {
        write(LineEnd);
    }
}

void StageRewrite::copyAfter(const Record& record) {
    if (record.end) {
        copy(*record.end, std::nullopt);
    }
}

void StageRewrite::copyRecord(const Record& record, const std::optional<std::string>& name) {
    if (name) {
        writeLine(nameLine(*name));
        copy(record.span.braceLine, record.end);
    } else {
        copy(record.start, record.end);
    }
}

void StageRewrite::writeLine(std::string_view line) {
    write(line);
    write(LineEnd);
}

} // namespace krelwin
