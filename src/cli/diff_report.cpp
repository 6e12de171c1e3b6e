#include "diff_report.h"

#include "errors.h"

#include <algorithm>
#include <vector>

namespace krelwin::cli {

namespace {

std::string quotedName(const StageIdentity& stage) {
    return "„" + shownText(shownName(stage)) + "”";
}

std::string stageLabel(long index, const StageIdentity& stage) {
    return "Etap nr " + std::to_string(index) + " " + quotedName(stage);
}

// "a", "a i b", "a, b i c".
std::string listed(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == parts.size() ? " i " : ", ") + parts[i];
    }
    return text;
}

std::string parameterLine(const StageChanges& changes) {
    std::vector<std::string> parts;
    for (const ParameterChange& change : changes.parameters) {
        parts.push_back(change.name + " " + change.before + " → " + change.after);
    }
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return "  Zmienione parametry: " + text + "\n";
}

// One row's cells as shown, each padded to the width its column takes in either row (a control
// byte shows as \xNN), so that the rows and the marks under them stand aligned.
class AlignedRow {
public:
    void add(const std::string& cell, std::size_t width) {
        if (!cell.empty()) {
            text_ += padding_ + cell;
            padding_ = std::string(width - cell.size(), ' ');
        } else {
            padding_ += std::string(width, ' '); // a cell this row lacks
        }
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
    std::string padding_; // written only before a later cell
};

std::string shownCell(const std::string& cells, std::size_t i) {
    return i < cells.size() ? shownText(cells.substr(i, 1)) : std::string();
}

std::string rowLines(const RowChange& row) {
    AlignedRow before;
    AlignedRow after;
    AlignedRow marks;
    auto changed = row.columns.begin();
    for (std::size_t i = 0; i < std::max(row.before.size(), row.after.size()); ++i) {
        const std::string oldCell = shownCell(row.before, i);
        const std::string newCell = shownCell(row.after, i);
        const std::size_t width = std::max(oldCell.size(), newCell.size());
        before.add(oldCell, width);
        after.add(newCell, width);
        const bool marked = changed != row.columns.end() && *changed == static_cast<int>(i) + 1;
        changed += marked ? 1 : 0;
        marks.add(marked ? "^" : "", width);
    }
    return "  Wiersz " + std::to_string(row.row) + ":\n    było: " + before.text() +
           "\n    jest: " + after.text() + "\n          " + marks.text() + "\n";
}

} // namespace

std::string headline(const PackComparison& comparison, const StageEvent& event) {
    switch (event.kind) {
    case StageEvent::Kind::Removed:
        return stageLabel(event.oldIndex, comparison.oldStage(event.oldIndex)) + " usunięty";
    case StageEvent::Kind::Added:
        return stageLabel(event.newIndex, comparison.newStage(event.newIndex)) + " dodany";
    case StageEvent::Kind::Kept:
        break;
    }
    std::string text = stageLabel(event.oldIndex, comparison.oldStage(event.oldIndex));
    if (!event.moved && event.oldIndex != event.newIndex) {
        text += " (teraz nr " + std::to_string(event.newIndex) + ")";
    }
    std::vector<std::string> changes;
    if (event.moved) {
        changes.push_back("przeniesiony na pozycję nr " + std::to_string(event.newIndex));
    }
    if (event.renamed) {
        changes.push_back("przemianowany na " + quotedName(comparison.newStage(event.newIndex)));
    }
    if (event.changed) {
        changes.push_back("zmieniony");
    }
    return text + " " + listed(changes) + (event.changed ? ":" : "");
}

std::string changeDetails(const StageChanges& changes) {
    if (changes.onlyUnreadBytes()) {
        return "  Zmienione tylko znaki, których gra nie czyta (za kolumnami parametrów, za "
               "szerokością wiersza albo za ostatnim wierszem planszy)\n";
    }
    std::string text = changes.parameters.empty() ? "" : parameterLine(changes);
    for (const RowChange& row : changes.rows) {
        text += rowLines(row);
    }
    return text;
}

} // namespace krelwin::cli
