#include "stage_file.h"

#include "byte_scan.h"
#include "errors.h"
#include "file_system.h"
#include "line_reader.h"
#include "line_splitter.h"
#include "safe_write.h"
#include "stage_locator.h"
#include "stage_record.h"
#include "stage_sequence.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <stdexcept>

namespace krelwin {

namespace {

void refuseIf(const std::string& problem) {
    if (!problem.empty()) {
        throw WriteRefused(problem);
    }
}

WriteRefused noSuchStage(const std::string& path, long index, long stagesInFile) {
    return WriteRefused("Plik " + shownText(path) + " nie zawiera etapu o numerze " +
                        std::to_string(index) + " (liczba etapów w pliku: " +
                        std::to_string(stagesInFile) + "). Plik nie został zmieniony.");
}

std::string forbiddenCharacterProblem(const std::string& text, std::string_view forbidden,
                                      const std::string& subject) {
    for (const char c : text) {
        if (!contains(forbidden, c)) {
            continue;
        }
        if (c == CarriageReturn || c == LineFeed) {
            return subject + " nie może zawierać znaku końca wiersza.";
        }
        if (c == EndMark) {
            return subject + " nie może zawierać znaku o kodzie 26 (Ctrl+Z), który kończy plik.";
        }
        return subject + " nie może zawierać znaku „" + c +
               "”: przesunąłby on położenie wszystkich dalszych etapów w pliku.";
    }
    return {};
}

// Writes one line as the record copies write every line: as read, then CR LF.
void copyLine(SafeWrite& out, std::string_view line) {
    out.write(line);
    out.write(LineEnd);
}

// Copies the lines of the bytes [from, to) of the file (to its end when `to` is not given),
// `from` and `to` being line starts, every line ended by CR LF as a write ends every line: a
// line that ends in a CR alone, or not at all, gets its LF. Runs of lines that already end in
// CR LF go out as one block.
void copyLines(int fd, off_t from, std::optional<off_t> to, SafeWrite& out) {
    if (to && *to <= from) {
        return;
    }
    seekTo(fd, from);
    LineReader reader(fd);
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
        while (const char* cr = LineSplitter::lineEnd(lineStart, end)) {
            sawLineEnd = true;
            lineStart = splitter.pastLineEnd(cr, end);
            if (lineStart == cr + 2) {
                continue; // already CR LF
            }
            // A CR alone; at the block's end its LF, if one follows, is dropped from the next.
            out.write(std::string_view(run, cr - run));
            out.write(LineEnd);
            run = lineStart;
        }
        out.write(std::string_view(run, end - run));
        if (lineStart < end) {
            lineOpen = true;
        } else if (sawLineEnd) {
            lineOpen = false;
        }
    }
    if (lineOpen) {
        out.write(LineEnd);
    }
}

// Finds the stage at `index` for a write, and refuses the write unless it is there and, when
// the caller says which name it expects there, carries that name.
StageSpan requireStage(StageLocator& stages, const std::string& path, int index,
                       const std::optional<std::string>& expectedName) {
    const std::optional<StageSpan> span = stages.find(index);
    if (expectedName && (!span || listedName(stages, *span) != *expectedName)) {
        throw FileChangedMessage(path, index);
    }
    if (!span) {
        throw noSuchStage(path, index, stages.stagesFound());
    }
    return *span;
}

// Copies the records that follow a stage's record, to the end of the file.
void copyRecordsAfter(StageLocator& stages, const StageSpan& span, int fd, SafeWrite& out) {
    if (const std::optional<off_t> end = stages.recordEnd(span)) {
        copyLines(fd, *end, std::nullopt, out);
    }
}

// A file that is not there holds no stage to replace; it is refused before anything is created.
void requireExistingFile(const std::string& path) {
    struct stat status {};
    if (fileSystem().stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            throw MissingFileMessage(path);
        }
        throw InOutError::fromErrno(errno);
    }
}

void requireStageToReplace(const std::string& path, int index) {
    if (index < 0) {
        throw noSuchStage(path, index, 0);
    }
    requireExistingFile(path);
}

void replaceRecord(SafeWrite& out, const std::string& path, int index, std::string_view record,
                   const std::optional<std::string>& expectedName) {
    const int fd = out.stageFd();
    StageLocator stages(fd);
    const StageSpan span = requireStage(stages, path, index, expectedName);
    copyLines(fd, 0, span.nameLine, out);
    out.write(record);
    copyRecordsAfter(stages, span, fd, out);
}

// Copies the file as it stands and appends the record; returns the position of the appended
// stage: the number of records before it.
int appendRecordTo(SafeWrite& out, std::string_view record) {
    StageLocator stages(out.stageFd());
    char last = 0;
    char beforeLast = 0;
    bool any = false;
    stages.onBlock([&](std::string_view block) {
        out.write(block);
        beforeLast = block.size() >= 2 ? block[block.size() - 2] : last;
        last = block.back();
        any = true;
    });
    const long count = stages.countAll();
    // Otherwise the new name line would continue the file's last line.
    const bool lastLineEnded =
        last == CarriageReturn || (last == LineFeed && beforeLast == CarriageReturn);
    if (any && !lastLineEnded) {
        out.write(LineEnd);
    }
    out.write(record);
    return static_cast<int>(std::min<long>(count, std::numeric_limits<int>::max()));
}

// The load: the stage at `index` and the name on its name line.
void loadStage(const std::string& path, int index, Etap& etap, std::string* ownName) {
    if (index < 0) {
        throw std::invalid_argument("CzytajEtap: a stage index is 0 or more");
    }
    requireStageFile(path);
    const FileDescriptor fd = openStageFile(path, O_RDONLY);
    StageLocator stages(fd.get());
    const std::optional<StageSpan> span = stages.find(index);
    std::string name = span ? nameFromNameLine(stages.nameLineText(*span)) : std::string();
    // Past the last stage the reader gives empty lines, so the parameter line fails to convert
    // with an empty field, which is how a missing stage is reported.
    if (span) {
        seekTo(fd.get(), span->afterBraceLine);
    } else if (fileSystem().lseek(fd.get(), 0, SEEK_END) < 0) {
        throw InOutError::fromErrno(errno);
    }
    LineReader reader(fd.get());
    etap = loadStageFrom(reader);
    if (ownName != nullptr) {
        *ownName = std::move(name);
    }
}

} // namespace

std::string nameProblem(const std::string& name) {
    return forbiddenCharacterProblem(name, NameBreakingBytes, "Nazwa etapu");
}

std::string colourTextProblem(const std::string& kolory) {
    return forbiddenCharacterProblem(kolory, RecordBreakingBytes, "Tekst kolorów");
}

std::string cellProblem(const Etap& etap) {
    // The cells as the record stores them: row by row from the top, each from column 1.
    const int rows = std::clamp<int32_t>(etap.parametry.Wys, 0, MaxWymiar);
    const int columns = std::clamp<int32_t>(etap.parametry.Szer, 0, MaxWymiar);
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            const char cell = etap.plansza.at(column, row);
            if (contains(RecordBreakingBytes, cell)) {
                return forbiddenCharacterProblem(std::string(1, cell), RecordBreakingBytes,
                                                 "Pole w wierszu " + std::to_string(row) +
                                                     ", kolumnie " + std::to_string(column));
            }
        }
    }
    return {};
}

std::vector<std::string> CzytajListeEtapow(const std::string& path) {
    requireStageFile(path);
    const FileDescriptor fd = openStageFile(path, O_RDONLY);
    StageLocator stages(fd.get());
    std::vector<std::string> names;
    while (names.size() < static_cast<std::size_t>(MaxListedStages)) {
        const std::optional<StageSpan> span = stages.next();
        // A "}" line with nothing after it is not a stage the list can offer.
        if (!span || !span->moreFollows) {
            break;
        }
        names.push_back(listedName(stages, *span));
    }
    return names;
}

void CzytajEtap(const std::string& path, int index, Etap& etap) {
    loadStage(path, index, etap, nullptr);
}

std::string loadStageAndName(const std::string& path, int index, Etap& etap) {
    std::string name;
    loadStage(path, index, etap, &name);
    return name;
}

int ZapiszEtap(const std::string& path, const std::string& name, int index, const Etap& etap,
               const std::optional<std::string>& expectedName) {
    // Values out of range never reach the file: the record's fixed columns hold them only in
    // range, and the cells written must be those the array holds.
    Etap stored = etap;
    applyParameterPass(stored.parametry);
    if (index != AppendIndex && !stored.hasOneStartAndOneExit()) {
        throw StartExitMessage();
    }
    refuseIf(nameProblem(name));
    refuseIf(colourTextProblem(stored.parametry.Kolory));
    refuseIf(cellProblem(stored));
    std::string record;
    appendRecord(record, name, stored);
    if (index >= 0) {
        requireStageToReplace(path, index);
    }
    SafeWrite out(path, index >= 0 ? SafeWrite::IfMissing::Fail : SafeWrite::IfMissing::Create);
    int position = index;
    if (index >= 0) {
        replaceRecord(out, path, index, record, expectedName);
    } else {
        position = appendRecordTo(out, record);
    }
    out.commit();
    return position;
}

void ZmienNazweEtapu(const std::string& path, int index, const std::string& name,
                     const std::optional<std::string>& expectedName) {
    refuseIf(nameProblem(name));
    requireStageToReplace(path, index);
    SafeWrite out(path, SafeWrite::IfMissing::Fail);
    const int fd = out.stageFd();
    StageLocator stages(fd);
    const StageSpan span = requireStage(stages, path, index, expectedName);
    copyLines(fd, 0, span.nameLine, out);
    copyLine(out, nameLine(name));
    copyLines(fd, span.braceLine, std::nullopt, out);
    out.commit();
}

namespace {

// A stage's whole record as a range of the file: from its name line to the next stage's name
// line, or to the end of the file.
struct Record {
    StageSpan span;
    off_t start;
    std::optional<off_t> end;
};

Record recordOf(StageLocator& stages, const StageSpan& span) {
    return {span, span.nameLine, stages.nextStageStart()};
}

void copyRecord(int fd, const Record& record, SafeWrite& out) {
    copyLines(fd, record.start, record.end, out);
}

// The bytes from the end of a record to the end of the file.
void copyAfter(int fd, const Record& record, SafeWrite& out) {
    if (record.end) {
        copyLines(fd, *record.end, std::nullopt, out);
    }
}

// Writes the file anew around the record of the stage at `index`, found under the name guard:
// `write(fd, record, out)` writes the whole new file from the old one at `fd`. A file that is
// not there, a stage that is not, or a stage under another name leaves the file untouched.
template <typename WriteAround>
void rewriteAroundRecord(const std::string& path, int index,
                         const std::optional<std::string>& expectedName, WriteAround write) {
    requireExistingFile(path);
    SafeWrite out(path, SafeWrite::IfMissing::Fail);
    const int fd = out.stageFd();
    StageLocator stages(fd);
    write(fd, recordOf(stages, requireStage(stages, path, index, expectedName)), out);
    out.commit();
}

} // namespace

void deleteStage(const std::string& path, int index,
                 const std::optional<std::string>& expectedName) {
    rewriteAroundRecord(path, index, expectedName,
                        [](int fd, const Record& record, SafeWrite& out) {
                            copyLines(fd, 0, record.start, out);
                            copyAfter(fd, record, out);
                        });
}

void moveStage(const std::string& path, int from, int to,
               const std::optional<std::string>& expectedName) {
    requireExistingFile(path);
    SafeWrite out(path, SafeWrite::IfMissing::Fail);
    const int fd = out.stageFd();
    StageLocator stages(fd);
    if (to < 0) {
        throw noSuchStage(path, to, stages.countAll());
    }
    // The walk goes forwards only: the earlier of the two stages is found first.
    std::optional<Record> earlier;
    std::optional<Record> later;
    if (const std::optional<StageSpan> span = stages.find(std::min(from, to))) {
        earlier = recordOf(stages, *span);
        if (from == to) {
            later = earlier;
        } else if (const std::optional<StageSpan> other = stages.find(std::max(from, to))) {
            later = recordOf(stages, *other);
        }
    }
    const std::optional<Record>& moved = from <= to ? earlier : later;
    if (expectedName && (!moved || listedName(stages, moved->span) != *expectedName)) {
        throw FileChangedMessage(path, from);
    }
    if (!moved || !later) {
        throw noSuchStage(path, moved ? to : from, stages.countAll());
    }
    if (from == to) {
        return; // nothing moves; the file is left as it is
    }
    if (to < from) {
        // [before `to`] [moved] [`to` .. the stage before `from`] [after `from`]
        copyLines(fd, 0, earlier->start, out);
        copyRecord(fd, *later, out);
        copyLines(fd, earlier->start, later->start, out);
        copyAfter(fd, *later, out);
    } else {
        // [before `from`] [the stage after `from` .. `to`] [moved] [after `to`]
        copyLines(fd, 0, earlier->start, out);
        copyLines(fd, *earlier->end, later->end, out);
        copyRecord(fd, *earlier, out);
        copyAfter(fd, *later, out);
    }
    out.commit();
}

int duplicateStage(const std::string& path, int index, const std::optional<std::string>& name,
                   const std::optional<std::string>& expectedName) {
    if (name) {
        refuseIf(nameProblem(*name));
    }
    rewriteAroundRecord(path, index, expectedName,
                        [&](int fd, const Record& record, SafeWrite& out) {
                            copyLines(fd, 0, record.end, out);
                            if (name) {
                                copyLine(out, nameLine(*name));
                                copyLines(fd, record.span.braceLine, record.end, out);
                            } else {
                                copyRecord(fd, record, out);
                            }
                            copyAfter(fd, record, out);
                        });
    return index + 1;
}

void fixLineEnds(const std::string& path) {
    requireExistingFile(path);
    SafeWrite out(path, SafeWrite::IfMissing::Fail);
    constexpr std::size_t BlockSize = 256 * 1024;
    const std::unique_ptr<char[]> block(new char[BlockSize]);
    bool anyLineFeed = false;
    while (const std::size_t got = readSome(out.stageFd(), block.get(), BlockSize)) {
        const std::string_view bytes(block.get(), got);
        if (bytes.find(CarriageReturn) != std::string_view::npos) {
            throw WriteRefused("Plik " + shownText(path) +
                               " zawiera już znaki CR (13), więc jego wiersze nie kończą się "
                               "samym znakiem LF. Plik nie został zmieniony.");
        }
        for (std::size_t start = 0; start < bytes.size();) {
            const std::size_t lineFeed = bytes.find(LineFeed, start);
            if (lineFeed == std::string_view::npos) {
                out.write(bytes.substr(start));
                break;
            }
            anyLineFeed = true;
            out.write(bytes.substr(start, lineFeed - start));
            out.write(LineEnd);
            start = lineFeed + 1;
        }
    }
    if (anyLineFeed) {
        out.commit();
    }
}

} // namespace krelwin
