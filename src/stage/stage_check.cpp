#include "stage_check.h"

#include "byte_scan.h"
#include "cells.h"
#include "clean_pack.h"
#include "errors.h"
#include "file_system.h"
#include "integer_text.h"
#include "leftover_backups.h"
#include "line_reader.h"
#include "line_splitter.h"
#include "plansza.h"
#include "stage_locator.h"
#include "stage_record.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <optional>
#include <string_view>

namespace krelwin {

namespace {

std::string quoted(std::string_view text) {
    return "„" + shownText(text) + "”";
}

std::string numberList(const std::vector<int>& numbers) {
    std::string text;
    for (const int number : numbers) {
        text += (text.empty() ? "" : ", ") + std::to_string(number);
    }
    return text;
}

// What the parameter line holds, as far as it converts.
struct StoredParameters {
    std::optional<int32_t> szer;
    std::optional<int32_t> wys;
    bool allNumbersConvert = true;
};

// What the check reports after the stages: those past the editor's list, and data after a
// byte 26.
void reportFileEnd(std::vector<StageProblem>& problems, std::size_t stages,
                   bool bytesAfterEndMark) {
    if (stages > static_cast<std::size_t>(MaxListedStages)) {
        problems.push_back({MaxListedStages, "etapy " + std::to_string(MaxListedStages) + ".." +
                                                 std::to_string(stages - 1) +
                                                 " są poza listą etapów edytora, która mieści "
                                                 "pierwsze " +
                                                 std::to_string(MaxListedStages)});
    }
    if (bytesAfterEndMark) {
        problems.push_back({FileLevel, "dane po bajcie 26 (Ctrl-Z) są pomijane przy czytaniu i "
                                       "giną przy zapisie"});
    }
}

class StageFileChecker {
public:
    // The lines from the name line of stage `firstIndex` on, or from the file's start.
    StageFileChecker(std::vector<std::string_view> lines, std::vector<std::size_t> braceLines,
                     long firstIndex, bool fromStart)
        : lines_(std::move(lines)), braceLines_(std::move(braceLines)), firstIndex_(firstIndex),
          fromStart_(fromStart) {}

    std::vector<StageProblem> run(bool bytesAfterEndMark, bool lineFeedsOnly) {
        if (lineFeedsOnly) {
            // The whole file is one line: whatever else the lines hold is beside the point.
            report(FileLevel, "wiersze kończą się samym znakiem LF (bez CR), więc edytor i gra "
                              "widzą cały plik jako jeden wiersz i nie znajdują w nim żadnego "
                              "etapu; naprawa: krelwin-stage fix-line-ends PLIK");
            return std::move(problems_);
        }
        checkLinesBeforeFirstStage();
        for (std::size_t k = 0; k < braceLines_.size(); ++k) {
            checkStage(static_cast<int>(k));
        }
        reportFileEnd(problems_, static_cast<std::size_t>(firstIndex_) + braceLines_.size(),
                      bytesAfterEndMark);
        return std::move(problems_);
    }

private:
    std::vector<std::string_view> lines_;
    std::vector<std::size_t> braceLines_; // the stages' "}" lines, as line numbers from 0
    long firstIndex_;                     // the index of the first stage of these lines
    bool fromStart_;
    std::vector<StageProblem> problems_;

    void report(int index, std::string text, Severity severity = Severity::Error) {
        const long shown = index == FileLevel ? FileLevel : index + firstIndex_;
        problems_.push_back({static_cast<int>(shown), std::move(text), severity});
    }

    const std::string_view* lineAt(std::size_t i) const {
        return i < lines_.size() ? &lines_[i] : nullptr;
    }

    // The bytes of lines [first, end) as they stand in the file, line ends between them
    // included: one search over them stands for a search of each (no line holds a CR, and the
    // text stops before any byte 26).
    std::string_view linesText(std::size_t first, std::size_t end) const {
        end = std::min(end, lines_.size());
        if (first >= end) {
            return {};
        }
        const char* from = lines_[first].data();
        const char* to = lines_[end - 1].data() + lines_[end - 1].size();
        return std::string_view(from, static_cast<std::size_t>(to - from));
    }

    void checkLinesBeforeFirstStage() {
        if (!fromStart_) {
            return;
        }
        if (braceLines_.empty()) {
            if (!lines_.empty()) {
                report(FileLevel, "plik nie zawiera żadnego etapu (brak wiersza „}”)");
            }
            return;
        }
        const std::size_t before = braceLines_.front() > 0 ? braceLines_.front() - 1 : 0;
        if (before > 0) {
            report(FileLevel, "wiersze przed pierwszym etapem: " + std::to_string(before));
        }
    }

    void checkStage(int k) {
        const std::size_t brace = braceLines_[k];
        if (lines_[brace] != "}") {
            // A "}" inside a name, a colour text or a row: the editor counts this line as a
            // stage's "}" line, so every stage from here on is numbered one too high.
            report(k, "wiersz liczony jako „}” etapu nie jest samym „}” (znak „}” w nazwie, "
                      "kolorach albo planszy); dalsze etapy mają przesunięte numery");
            return;
        }
        checkNameLine(k, brace);
        const std::string_view* parameterLine = lineAt(brace + 1);
        if (parameterLine == nullptr) {
            report(k, "brak wiersza parametrów");
            return;
        }
        const StoredParameters stored = checkParameterLine(k, *parameterLine);
        const std::string_view* openingLine = lineAt(brace + 2);
        if (openingLine == nullptr || *openingLine != "{") {
            report(k, "brak wiersza „{” po wierszu parametrów");
        }
        if (stored.szer && stored.wys) {
            checkRows(k, brace, *stored.szer, *stored.wys);
            checkLoadedStage(k, brace, *parameterLine, stored);
        }
    }

    void checkNameLine(int k, std::size_t brace) {
        if (brace == 0) {
            report(k, "brak wiersza nazwy przed „}”");
            return;
        }
        const std::string_view line = lines_[brace - 1];
        if (line.size() < 2 || line.front() != '(' || line.back() != ')') {
            report(k, "wiersz nazwy nie ma postaci (nazwa)");
        }
        if (contains(line, '\n')) {
            report(k, "nazwa zawiera znak nowego wiersza (LF)");
        }
    }

    StoredParameters checkParameterLine(int k, std::string_view line) {
        StoredParameters stored;
        for (std::size_t i = 0; i < NumberParameters.size(); ++i) {
            const NumberParameter& parameter = NumberParameters[i];
            const std::string_view text = numberText(line, i);
            const std::optional<int32_t> value = parseInteger(text);
            if (!value) {
                report(k, std::string(parameter.name) + ": " + quoted(text) +
                              " nie jest liczbą całkowitą");
                stored.allNumbersConvert = false;
                continue;
            }
            if (*value != parameter.range.clamp(*value)) {
                report(k, std::string(parameter.name) + " = " + std::to_string(*value) +
                              ", poza zakresem " + std::to_string(parameter.range.min) + ".." +
                              std::to_string(parameter.range.max));
            }
            if (parameter.member == &ParametryEtapu::Szer) {
                stored.szer = value;
            } else if (parameter.member == &ParametryEtapu::Wys) {
                stored.wys = value;
            }
        }
        checkTypeAndColours(k, line);
        return stored;
    }

    void checkTypeAndColours(int k, std::string_view line) {
        if (line.size() < TypeColumn) {
            report(k, "wiersz parametrów: długość " + std::to_string(line.size()) +
                          ", brak w nim kolumny typu (" + std::to_string(TypeColumn) + ".)");
            return;
        }
        const char type = line[TypeColumn - 1];
        if (type != TypZwykly && type != TypBonusowy) {
            report(k, "Typ " + quoted(std::string_view(&type, 1)) + " to ani Z, ani B");
        }
        const std::string_view colours = coloursText(line);
        if (colours.size() < ColoursWidth) {
            report(k, "kolory: długość " + std::to_string(colours.size()) + " zamiast " +
                          std::to_string(ColoursWidth));
        }
        for (const char marker : {'(', '}'}) {
            if (contains(colours, marker)) {
                report(k, "kolory zawierają znak " + quoted(std::string_view(&marker, 1)));
            }
        }
        if (contains(colours, '\n')) {
            report(k, "kolory zawierają znak nowego wiersza (LF)");
        }
    }

    // The rows as the record lays them out: the lines after "{" up to the next stage's name.
    void checkRows(int k, std::size_t brace, int32_t szer, int32_t wys) {
        const std::size_t firstRow = brace + 3;
        const std::size_t nextName = static_cast<std::size_t>(k) + 1 < braceLines_.size()
                                         ? braceLines_[k + 1] - 1
                                         : lines_.size();
        const std::size_t present = nextName > firstRow ? nextName - firstRow : 0;
        const std::size_t expected = static_cast<std::size_t>(std::max(wys, 0));
        const std::size_t width = static_cast<std::size_t>(std::max(szer, 0));
        if (present < expected) {
            report(k, "brakuje wierszy planszy: jest " + std::to_string(present) + " z " +
                          std::to_string(expected));
        }
        std::vector<int> shortRows;
        std::vector<int> rowsWithOpening; // a "(" beyond the cells the load takes
        const std::size_t loadedWidth = std::min<std::size_t>(width, MaxWymiar);
        const bool anyOpening = contains(linesText(firstRow, firstRow + present), '(');
        for (std::size_t r = 0; r < present; ++r) {
            const std::string_view row = lines_[firstRow + r];
            if (r < expected && row.size() < width) {
                shortRows.push_back(static_cast<int>(r + 1));
            }
            const std::size_t beyond = r < std::min<std::size_t>(expected, MaxWymiar)
                                           ? std::min(loadedWidth, row.size())
                                           : 0;
            if (anyOpening && contains(row.substr(beyond), '(')) {
                rowsWithOpening.push_back(static_cast<int>(r + 1));
            }
        }
        if (!shortRows.empty()) {
            report(k, "wiersze planszy krótsze niż szerokość " + std::to_string(width) + ": " +
                          numberList(shortRows));
        }
        if (!rowsWithOpening.empty()) {
            report(k, "wiersze planszy ze znakiem „(” poza polami etapu: " +
                          numberList(rowsWithOpening));
        }
        if (present > expected) {
            report(k, "nadmiarowe wiersze po planszy (ponad wysokość " + std::to_string(expected) +
                          "): " + std::to_string(present - expected));
        }
    }

    // The stage as the editor's load leaves it in memory: the rows are the lines after "{",
    // whatever they hold, at most 80 by 80, and a cell the file does not reach stays "#". Where
    // a number does not convert the load stops; the cells are then taken with the size as
    // stored, as the load would have taken them.
    Etap loadedStage(std::size_t brace, std::string_view parameterLine,
                     const StoredParameters& stored) const {
        Etap etap;
        if (stored.allNumbersConvert) {
            etap.parametry = parseParameterLine(parameterLine);
        } else {
            etap.parametry.Szer = *stored.szer;
            etap.parametry.Wys = *stored.wys;
        }
        const int rows = std::clamp<int32_t>(etap.parametry.Wys, 0, MaxWymiar);
        for (int row = 1; row <= rows; ++row) {
            const std::string_view* line = lineAt(brace + 2 + static_cast<std::size_t>(row));
            if (line == nullptr) {
                break; // past the end the load reads empty lines
            }
            readCellRow(*line, row, etap.parametry.Szer, etap.plansza);
        }
        applyParameterPass(etap.parametry);
        return etap;
    }

    // The findings the editor lists for the stage in memory. The cells' findings stand a line
    // each; the start-and-exit rule stays the one line with both counts that scripts know, and
    // the rule and the diamonds are looked at only in a stage the load takes whole.
    void checkLoadedStage(int k, std::size_t brace, std::string_view parameterLine,
                          const StoredParameters& stored) {
        const Etap etap = loadedStage(brace, parameterLine, stored);
        const CellCounts counts = countCells(etap);
        bool ruleReported = false;
        for (StageFinding& finding : findStageFindings(etap, counts)) {
            switch (finding.kind) {
            case FindingKind::UnwritableCell:
            case FindingKind::UnknownCode:
                report(k, std::move(finding.text));
                break;
            case FindingKind::StartCount:
            case FindingKind::ExitCount:
                if (stored.allNumbersConvert && !ruleReported) {
                    report(k, "wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest "
                              "S: " +
                                  std::to_string(counts.of(kod::Start)) +
                                  ", W: " + std::to_string(counts.of(kod::Wyjscie)));
                    ruleReported = true;
                }
                break;
            case FindingKind::FewerDiamonds:
                if (stored.allNumbersConvert) {
                    report(k, std::move(finding.text), Severity::Warning);
                }
                break;
            }
        }
    }
};

// The file's text up to its end mark, read whole.
std::string readText(int fd, bool& bytesAfterEndMark) {
    std::string text;
    text.reserve(static_cast<std::size_t>(statusOf(fd).st_size));
    LineReader reader(fd);
    std::string_view block;
    while (reader.readRawBlock(block)) {
        text.append(block);
    }
    bytesAfterEndMark = reader.hasBytesAfterEndMark();
    return text;
}

// The text's lines, and which of them are the stages' "}" lines as the locator finds them.
void splitIntoLines(std::string_view text, std::vector<std::string_view>& lines,
                    std::vector<std::size_t>& braceLines) {
    std::vector<off_t> braceOffsets;
    StageLocator stages(text);
    while (const std::optional<StageSpan> span = stages.next()) {
        braceOffsets.push_back(span->braceLine);
    }
    LineSplitter splitter;
    const char* const end = text.data() + text.size();
    auto nextBrace = braceOffsets.begin();
    for (const char* start = text.data(); start < end;) {
        if (nextBrace != braceOffsets.end() && start - text.data() == *nextBrace) {
            braceLines.push_back(lines.size());
            ++nextBrace;
        }
        const char* cr = LineSplitter::lineEnd(start, end);
        lines.emplace_back(start, (cr != nullptr ? cr : end) - start);
        start = cr != nullptr ? splitter.pastLineEnd(cr, end) : end;
    }
}

// Lets the file through the gate of every read, and reports what it tells of backups left by
// interrupted writes into the file as problems of the file.
std::vector<StageProblem> requireFileAndFindLeftoverBackups(const std::string& path) {
    struct Collected : LeftoverBackupListener {
        std::vector<StageProblem> problems;
        void leftoverBackupFound(const std::string&, const std::string& backup) override {
            problems.push_back({FileLevel, "zapis do pliku został przerwany, więc plik może "
                                           "zawierać częściowo zapisany etap; jego zawartość "
                                           "sprzed tego zapisu jest w całości w kopii zapasowej: " +
                                               shownText(backup)});
        }
    } collected;
    const ScopedLeftoverBackupListener told(collected);
    requireStageFile(path);
    return std::move(collected.problems);
}

} // namespace

std::vector<StageProblem> findStageProblems(const std::string& path) {
    std::vector<StageProblem> problems = requireFileAndFindLeftoverBackups(path);
    const FileDescriptor fd = openStageFile(path, O_RDONLY);
    // Most packs are as the editor writes them: one quick pass tells, without holding the file,
    // and the full check reads only from where it stopped.
    const CleanPack clean = readCleanPack(fd.get());
    // The quick pass's warnings, up to where the full check takes over.
    for (const DiamondShortfall& shortfall : clean.fewerDiamonds) {
        if (clean.complete || shortfall.stage < clean.resumeIndex) {
            problems.push_back({static_cast<int>(shortfall.stage),
                                fewerDiamondsText(shortfall.diamonds, shortfall.toCollect),
                                Severity::Warning});
        }
    }
    if (clean.complete) {
        reportFileEnd(problems, static_cast<std::size_t>(clean.stages), clean.bytesAfterEndMark);
        return problems;
    }
    seekTo(fd.get(), clean.resumeAt);
    bool bytesAfterEndMark = false;
    const std::string text = readText(fd.get(), bytesAfterEndMark);
    std::vector<std::string_view> lines;
    std::vector<std::size_t> braceLines;
    splitIntoLines(text, lines, braceLines);
    const bool lineFeedsOnly =
        text.find(LineFeed) != std::string::npos && text.find(CarriageReturn) == std::string::npos;
    std::vector<StageProblem> rest = StageFileChecker(std::move(lines), std::move(braceLines),
                                                      clean.resumeIndex, clean.resumeAt == 0)
                                         .run(bytesAfterEndMark, lineFeedsOnly);
    problems.insert(problems.end(), std::make_move_iterator(rest.begin()),
                    std::make_move_iterator(rest.end()));
    return problems;
}

bool anyError(const std::vector<StageProblem>& problems) {
    return std::any_of(problems.begin(), problems.end(), [](const StageProblem& problem) {
        return problem.severity == Severity::Error;
    });
}

std::string problemLine(const StageProblem& problem) {
    const std::string label = problem.index == FileLevel ? "plik" : std::to_string(problem.index);
    return label + (problem.severity == Severity::Warning ? ": ostrzeżenie: " : ": ") +
           problem.text;
}

} // namespace krelwin
