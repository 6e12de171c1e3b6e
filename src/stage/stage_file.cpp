#include "stage_file.h"

#include "errors.h"
#include "file_system.h"
#include "line_reader.h"
#include "safe_write.h"
#include "stage_record.h"
#include "stage_sequence.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace krelwin {

namespace {

constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char EndMark = 26;
// What a colour text or a cell must not hold: a line holding "(" or "}" counts as a record's
// name or "}" line, and a line end or a byte 26 splits the line or ends the file.
constexpr std::string_view RecordBreakingBytes("}(\r\n\x1a", 5);

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
        if (forbidden.find(c) == std::string_view::npos) {
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

// Copies the rest of the file from a line start to its end, every line ended by CR LF. Runs of
// lines that already end that way go out as one block.
void copyRemainingLines(LineReader& reader, SafeWrite& out) {
    std::string_view block;
    bool lineFeedMayFollow = false; // the previous block ended in a CR
    bool lineOpen = false;          // bytes of an unended line have gone out
    while (reader.readRawBlock(block)) {
        const char* p = block.data();
        const char* const end = p + block.size();
        if (lineFeedMayFollow && *p == LineFeed) {
            ++p;
        }
        lineFeedMayFollow = false;
        const char* run = p;
        const char* lineStart = p;
        bool sawLineEnd = false;
        while (const void* found = std::memchr(p, CarriageReturn, end - p)) {
            const char* cr = static_cast<const char*>(found);
            sawLineEnd = true;
            if (cr + 1 < end && cr[1] == LineFeed) {
                p = lineStart = cr + 2;
                continue;
            }
            out.write(std::string_view(run, cr - run));
            out.write(LineEnd);
            p = run = lineStart = cr + 1;
            lineFeedMayFollow = p == end;
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

// The name a remembered name line carries, made in the line's own storage: a name line may be
// megabytes long, and the list should hold it once, not copy it again.
std::string nameInPlace(std::string&& line) {
    if (line.size() <= 2) {
        return {};
    }
    line.pop_back();
    line.erase(0, 1);
    return std::move(line);
}

// What the copy up to a record found of it.
struct RecordStart {
    long braceLines = 0;        // "}" lines found: index + 1 when the stage exists
    std::string_view braceLine; // the stage's "}" line, valid until the reader reads on
    std::string name;           // the stage's name as the list reads it
};

// Copies the lines that come before the name line of stage `index`, then stops just after its
// "}" line.
RecordStart copyLinesBeforeRecord(LineReader& reader, SafeWrite& out, long index) {
    // A line can go out only once the next is known not to be the stage's "}" line, because the
    // line before that one is the stage's name line, which is not copied.
    std::string previous;
    bool havePrevious = false;
    RecordStart found;
    std::string_view line;
    while (reader.readLineView(line)) {
        if (holdsMarker(line, RecordMarker) && ++found.braceLines == index + 1) {
            found.braceLine = line;
            // The list names a stage by the last line before its "}" line that holds no "}"
            // since the previous stage's: none when the two "}" lines meet.
            if (havePrevious && !holdsMarker(previous, RecordMarker)) {
                found.name = nameFromNameLine(previous);
            }
            return found;
        }
        if (havePrevious) {
            copyLine(out, previous);
        }
        previous.assign(line);
        havePrevious = true;
    }
    return found;
}

// Refuses the write unless the stage at `index` is there and, when the caller says which name
// it expects there, carries that name.
void requireStageFound(const RecordStart& found, const std::string& path, int index,
                       const std::optional<std::string>& expectedName) {
    const bool exists = found.braceLines > index;
    if (expectedName && (!exists || found.name != *expectedName)) {
        throw FileChangedMessage(path, index);
    }
    if (!exists) {
        throw noSuchStage(path, index, found.braceLines);
    }
}

// Counts the lines holding "}" in a stream of raw blocks, as the stage numbering counts them:
// a line ends at a CR, and a line with several "}" counts once.
class RecordLineCounter {
public:
    void feed(std::string_view block) {
        const char* p = block.data();
        const char* const end = p + block.size();
        while (p < end) {
            const char wanted = inCountedLine_ ? CarriageReturn : RecordMarker;
            const void* found = std::memchr(p, wanted, static_cast<std::size_t>(end - p));
            if (found == nullptr) {
                return;
            }
            if (!inCountedLine_) {
                ++count_;
            }
            inCountedLine_ = !inCountedLine_;
            p = static_cast<const char*>(found) + 1;
        }
    }
    long count() const { return count_; }

private:
    long count_ = 0;
    bool inCountedLine_ = false;
};

// Skips the old record and copies everything from the name line of the stage after it: the
// first line after the old "}" line that holds "(". In a well-formed file that is the
// (index + 2)-th such line. Where a file from elsewhere has a "}" in a name, a colour text or a
// row, the "(" lines before the record number fewer than its index, and counting on to the
// (index + 2)-th would skip whole stages; a stray "(" before the record makes them more, and
// counting from the start would copy lines twice. Taking the first one after never does either.
void copyStagesAfterRecord(LineReader& reader, SafeWrite& out) {
    std::string_view line;
    while (reader.readLineView(line)) {
        if (holdsMarker(line, NameMarker)) {
            copyLine(out, line);
            copyRemainingLines(reader, out);
            return;
        }
    }
}

// A file that is not there holds no stage to replace; it is refused before anything is created.
void requireStageToReplace(const std::string& path, int index) {
    struct stat status {};
    if (index < 0) {
        throw noSuchStage(path, index, 0);
    }
    if (fileSystem().stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            throw MissingFileMessage(path);
        }
        throw InOutError::fromErrno(errno);
    }
}

void replaceRecord(SafeWrite& out, const std::string& path, int index, std::string_view record,
                   const std::optional<std::string>& expectedName) {
    LineReader reader(out.stageFd());
    const RecordStart found = copyLinesBeforeRecord(reader, out, index);
    requireStageFound(found, path, index, expectedName);
    out.write(record);
    copyStagesAfterRecord(reader, out);
}

// Returns the position of the appended stage: the number of records before it.
int appendRecordTo(SafeWrite& out, std::string_view record) {
    LineReader reader(out.stageFd());
    RecordLineCounter records;
    std::string_view block;
    char last = 0;
    char beforeLast = 0;
    bool any = false;
    while (reader.readRawBlock(block)) {
        out.write(block);
        records.feed(block);
        beforeLast = block.size() >= 2 ? block[block.size() - 2] : last;
        last = block.back();
        any = true;
    }
    // Otherwise the new name line would continue the file's last line.
    const bool lastLineEnded =
        last == CarriageReturn || (last == LineFeed && beforeLast == CarriageReturn);
    if (any && !lastLineEnded) {
        out.write(LineEnd);
    }
    out.write(record);
    return static_cast<int>(std::min<long>(records.count(), std::numeric_limits<int>::max()));
}

} // namespace

std::string nameProblem(const std::string& name) {
    return forbiddenCharacterProblem(name, std::string_view("}\r\n\x1a"), "Nazwa etapu");
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
            if (RecordBreakingBytes.find(cell) != std::string_view::npos) {
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
    LineReader reader(path);
    std::vector<std::string> names;
    std::string remembered;
    std::string line;
    for (int repetition = 0; repetition < MaxListedStages && !reader.atEnd(); ++repetition) {
        remembered.clear();
        bool braceLineRead = false;
        while (reader.readLine(line)) {
            if (holdsMarker(line, RecordMarker)) {
                braceLineRead = true;
                break;
            }
            remembered.swap(line);
        }
        // A "}" line with nothing after it is not a stage the list can offer.
        if (braceLineRead && !reader.atEnd()) {
            names.push_back(nameInPlace(std::move(remembered)));
        }
    }
    return names;
}

void CzytajEtap(const std::string& path, int index, Etap& etap) {
    if (index < 0) {
        throw std::invalid_argument("CzytajEtap: a stage index is 0 or more");
    }
    requireStageFile(path);
    LineReader reader(path);
    // Past the last stage the reader gives empty lines, so the parameter line fails to convert
    // with an empty field, which is how a missing stage is reported.
    reader.skipLinesHolding(RecordMarker, static_cast<long>(index) + 1);
    StageLoad load;
    std::string_view line;
    while (!load.complete()) {
        reader.readLineView(line);
        load.take(line);
    }
    etap = load.result();
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
    LineReader reader(out.stageFd());
    const RecordStart found = copyLinesBeforeRecord(reader, out, index);
    requireStageFound(found, path, index, expectedName);
    copyLine(out, nameLine(name));
    copyLine(out, found.braceLine);
    copyRemainingLines(reader, out);
    out.commit();
}

} // namespace krelwin
