#include "stage_rewrite.h"

#include "canonical_reader.h"
#include "errors.h"
#include "file_system.h"
#include "stage_record.h"

#include <cerrno>

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
    CanonicalReader(fd()).copy(from, to, [this](std::string_view piece) { write(piece); });
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
