// The one skeleton of every write of a stage file: the file is locked and read while its new
// content is built beside it (safe_write.h), the stage the write is about is located on the
// locked file and checked against the name the caller's list shows there, and the new content
// is put in place all or nothing. Each operation only says what it writes.
#pragma once

#include "errors.h"
#include "safe_write.h"
#include "stage_locator.h"

#include <optional>
#include <string>
#include <string_view>

namespace krelwin {

// A stage's whole record as a range of the file: from its name line to the next stage's name
// line, or to the end of the file.
struct Record {
    StageSpan span;
    off_t start;
    std::optional<off_t> end;
};

class StageRewrite {
public:
    // Locks the stage file for the write (see SafeWrite). With IfMissing::Fail a path where
    // nothing stands is refused with MissingFileMessage before anything is created.
    StageRewrite(const std::string& path, SafeWrite::IfMissing ifMissing);

    // The locked file's present content.
    int fd() const { return out_.stageFd(); }
    StageLocator& stages();

    // The record of the stage at `index`. Refused unless the stage is there (WriteRefused) and,
    // when the caller says which name it expects there, carries that name (FileChangedMessage).
    Record record(int index, const std::optional<std::string>& expectedName);
    // The name guard alone, for the stage found (or not) for `index`.
    void requireName(int index, const std::optional<StageSpan>& span,
                     const std::optional<std::string>& expectedName);
    // The refusal of an index that names no stage.
    WriteRefused noSuchStage(long index, long stagesInFile) const;

    // Copies the lines of the bytes [from, to) of the present content (to its end when `to` is
    // not given), `from` and `to` being line starts, every line ended by CR LF as a write ends
    // every line: a line that ends in a CR alone, or not at all, gets its LF.
    void copy(off_t from, std::optional<off_t> to);
    // What follows the record, to the end of the file.
    void copyAfter(const Record& record);
    // The record under `name` (only its name line differs), or as it stands.
    void copyRecord(const Record& record, const std::optional<std::string>& name = std::nullopt);
    void write(std::string_view bytes) { out_.write(bytes); }
    // A line of the new content, ended by CR LF.
    void writeLine(std::string_view line);

    void commit() { out_.commit(); }

private:
    std::string path_;
    SafeWrite out_;
    std::optional<StageLocator> stages_;
};

// Writes the file anew around the record of the stage at `index`, found under the name guard:
// `write(file, record)` writes the whole new content from the present one. A file that is not
// there, a stage that is not, or a stage under another name leaves the file untouched.
template <typename WriteAround>
void rewriteAroundStage(const std::string& path, int index,
                        const std::optional<std::string>& expectedName, WriteAround write) {
    StageRewrite file(path, SafeWrite::IfMissing::Fail);
    write(file, file.record(index, expectedName));
    file.commit();
}

} // namespace krelwin
