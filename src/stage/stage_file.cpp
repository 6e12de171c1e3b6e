#include "stage_file.h"

#include "byte_scan.h"
#include "errors.h"
#include "file_system.h"
#include "line_reader.h"
#include "line_splitter.h"
#include "stage_locator.h"
#include "stage_record.h"
#include "stage_rewrite.h"
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

// Copies the file as it stands and appends the record; returns the position of the appended
// stage: the number of records before it.
int appendRecordTo(StageRewrite& file, std::string_view record) {
    StageLocator& stages = file.stages();
    char last = 0;
    char beforeLast = 0;
    bool any = false;
    stages.onBlock([&](std::string_view block) {
        file.write(block);
        beforeLast = block.size() >= 2 ? block[block.size() - 2] : last;
        last = block.back();
        any = true;
    });
    const long count = stages.countAll();
    // Otherwise the new name line would continue the file's last line.
    const bool lastLineEnded =
        last == CarriageReturn || (last == LineFeed && beforeLast == CarriageReturn);
    if (any && !lastLineEnded) {
        file.write(LineEnd);
    }
    file.write(record);
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
    if (index < 0) {
        StageRewrite file(path, SafeWrite::IfMissing::Create);
        const int position = appendRecordTo(file, record);
        file.commit();
        return position;
    }
    rewriteAroundStage(path, index, expectedName, [&](StageRewrite& file, const Record& old) {
        file.copy(0, old.start);
        file.write(record);
        // The replaced record ends where the next line holding "(" begins.
        if (const std::optional<off_t> end = file.stages().recordEnd(old.span)) {
            file.copy(*end, std::nullopt);
        }
    });
    return index;
}

void ZmienNazweEtapu(const std::string& path, int index, const std::string& name,
                     const std::optional<std::string>& expectedName) {
    refuseIf(nameProblem(name));
    rewriteAroundStage(path, index, expectedName, [&](StageRewrite& file, const Record& old) {
        file.copy(0, old.start);
        file.copyRecord(old, name);
        file.copyAfter(old);
    });
}

void deleteStage(const std::string& path, int index,
                 const std::optional<std::string>& expectedName) {
    rewriteAroundStage(path, index, expectedName, [](StageRewrite& file, const Record& old) {
        file.copy(0, old.start);
        file.copyAfter(old);
    });
}

void moveStage(const std::string& path, int from, int to,
               const std::optional<std::string>& expectedName) {
    StageRewrite file(path, SafeWrite::IfMissing::Fail);
    StageLocator& stages = file.stages();
    if (to < 0) {
        throw file.noSuchStage(to, stages.countAll());
    }
    // The walk goes forwards only: the earlier of the two stages is found first.
    std::optional<Record> earlier;
    std::optional<Record> later;
    const auto recordOf = [&](const StageSpan& span) {
        return Record{span, span.nameLine, stages.nextStageStart()};
    };
    if (const std::optional<StageSpan> span = stages.find(std::min(from, to))) {
        earlier = recordOf(*span);
        if (from == to) {
            later = earlier;
        } else if (const std::optional<StageSpan> other = stages.find(std::max(from, to))) {
            later = recordOf(*other);
        }
    }
    const std::optional<Record>& moved = from <= to ? earlier : later;
    file.requireName(from, moved ? std::optional(moved->span) : std::nullopt, expectedName);
    if (!moved || !later) {
        throw file.noSuchStage(moved ? to : from, stages.countAll());
    }
    if (from == to) {
        return; // nothing moves; the file is left as it is
    }
    file.copy(0, earlier->start);
    if (to < from) {
        // [before `to`] [moved] [`to` .. the stage before `from`] [after `from`]
        file.copyRecord(*later);
        file.copy(earlier->start, later->start);
    } else {
        // [before `from`] [the stage after `from` .. `to`] [moved] [after `to`]
        file.copy(*earlier->end, later->end);
        file.copyRecord(*earlier);
    }
    file.copyAfter(*later);
    file.commit();
}

int duplicateStage(const std::string& path, int index, const std::optional<std::string>& name,
                   const std::optional<std::string>& expectedName) {
    if (name) {
        refuseIf(nameProblem(*name));
    }
    rewriteAroundStage(path, index, expectedName, [&](StageRewrite& file, const Record& old) {
        file.copy(0, old.end);
        file.copyRecord(old, name);
        file.copyAfter(old);
    });
    return index + 1;
}

void fixLineEnds(const std::string& path) {
    StageRewrite file(path, SafeWrite::IfMissing::Fail);
    constexpr std::size_t BlockSize = 256 * 1024;
    const std::unique_ptr<char[]> block(new char[BlockSize]);
    bool anyLineFeed = false;
    while (const std::size_t got = readSome(file.fd(), block.get(), BlockSize)) {
        const std::string_view bytes(block.get(), got);
        if (contains(bytes, CarriageReturn)) {
            throw WriteRefused("Plik " + shownText(path) +
                               " zawiera już znaki CR (13), więc jego wiersze nie kończą się "
                               "samym znakiem LF. Plik nie został zmieniony.");
        }
        for (std::size_t start = 0; start < bytes.size();) {
            const std::size_t lineFeed = bytes.find(LineFeed, start);
            if (lineFeed == std::string_view::npos) {
                file.write(bytes.substr(start));
                break;
            }
            anyLineFeed = true;
            file.write(bytes.substr(start, lineFeed - start));
            file.write(LineEnd);
            start = lineFeed + 1;
        }
    }
    if (anyLineFeed) {
        file.commit();
    }
}

} // namespace krelwin
