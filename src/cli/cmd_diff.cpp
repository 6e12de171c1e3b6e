// krelwin-stage diff: two packs compared stage by stage, for people and for git, which runs it
// as an external diff driver with seven arguments (nine for a renamed file).
#include "commands.h"

#include "diff_pictures.h"
#include "diff_report.h"
#include "errors.h"
#include "pack_comparison.h"
#include "stage_sequence.h"

#include <iostream>
#include <memory>
#include <optional>

namespace krelwin::cli {

namespace {

// What git hands an external diff driver: path old-file old-hex old-mode new-file new-hex
// new-mode, and for a renamed file also the new path and a line about the rename.
constexpr std::size_t GitArguments = 7;
constexpr std::size_t GitRenameArguments = 9;

// git passes /dev/null for the side of an added or removed file: an empty pack.
std::optional<std::string> packPath(const std::string& path) {
    if (path == "/dev/null") {
        return std::nullopt;
    }
    return path;
}

// The stage as the editor loads it from the record's content (its lines after the name line).
Etap loadContent(std::string_view content) {
    const std::vector<std::string_view> lines = contentLines(content);
    StageLoad load;
    for (std::size_t i = 1; !load.complete(); ++i) {
        load.take(i < lines.size() ? lines[i] : std::string_view());
    }
    return load.result();
}

std::vector<CellPosition> changedCells(const StageChanges& changes) {
    std::vector<CellPosition> cells;
    for (const RowChange& row : changes.rows) {
        for (const int column : row.columns) {
            cells.emplace_back(column, row.row);
        }
    }
    return cells;
}

void writePicture(ChangePictures& pictures, const StageEvent& event, std::string_view content,
                  const StageChanges& changes) {
    Etap etap;
    try {
        etap = loadContent(content);
    } catch (const ConversionError& error) {
        // A stage that does not load has no picture; the text says what changed in it.
        std::cerr << "Etap nr " << event.newIndex
                  << " nie daje się wczytać, więc nie ma obrazu: " << errorBoxText(error.what())
                  << "\n";
        return;
    }
    pictures.write(event.newIndex, etap, changedCells(changes));
}

void report(PackComparison& comparison, ChangePictures* pictures, std::ostream& out) {
    for (const StageEvent& event : comparison.events()) {
        out << headline(comparison, event) << "\n";
        if (!event.changed) {
            continue;
        }
        const auto [before, after] = comparison.contents(event);
        const StageChanges changes = compareContents(before, after);
        out << changeDetails(changes);
        if (pictures != nullptr) {
            writePicture(*pictures, event, after, changes);
        }
    }
}

} // namespace

int runDiff(const CommandLine& line, std::ostream& out) {
    const std::vector<std::string>& arguments = line.positional;
    const bool fromGit = arguments.size() == GitArguments || arguments.size() == GitRenameArguments;
    if (arguments.size() != 2 && !fromGit) {
        throw UsageError("OLD NEW expected, or the 7 arguments of a git external diff");
    }
    const std::string& oldPath = fromGit ? arguments[1] : arguments[0];
    const std::string& newPath = fromGit ? arguments[4] : arguments[1];
    std::unique_ptr<ChangePictures> pictures;
    if (const std::string* folder = line.option("--png")) {
        pictures = openChangePictures(*folder);
    }
    PackComparison comparison(packPath(oldPath), packPath(newPath));
    if (fromGit) {
        const std::string& renamedTo =
            arguments.size() == GitRenameArguments ? arguments[7] : arguments[0];
        out << "krelwin-stage diff a/" << shownText(arguments[0]) << " b/" << shownText(renamedTo)
            << "\n";
        if (comparison.sameStages()) {
            out << "Etapy bez zmian.\n";
        }
    }
    report(comparison, pictures.get(), out);
    // git takes any status but 0 for a failure of the driver.
    return fromGit || comparison.sameStages() ? ExitSuccess : ExitFailure;
}

} // namespace krelwin::cli
