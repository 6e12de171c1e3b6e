#include "stage_changes.h"

#include "errors.h"
#include "integer_text.h"
#include "line_splitter.h"
#include "parametry_etapu.h"
#include "plansza.h"

#include <algorithm>
#include <optional>

namespace krelwin {

namespace {

constexpr std::size_t ParameterLine = 1;
constexpr std::size_t FirstRowLine = 3; // after "}", the parameter line and "{"

std::string quoted(std::string_view text) {
    return "„" + shownText(text) + "”";
}

std::string_view lineAt(const std::vector<std::string_view>& lines, std::size_t i) {
    return i < lines.size() ? lines[i] : std::string_view();
}

// The stored size of the rows as the load reads them: height and width, each within 0..80;
// none when the field does not convert.
std::optional<int> storedExtent(std::string_view parameterLine, std::size_t parameterIndex) {
    const std::optional<int32_t> value = parseInteger(numberText(parameterLine, parameterIndex));
    if (!value) {
        return std::nullopt;
    }
    return std::clamp<int32_t>(*value, 0, MaxWymiar);
}

std::string shownNumber(std::string_view text) {
    const std::optional<int32_t> value = parseInteger(text);
    return value ? std::to_string(*value) : quoted(text);
}

void compareNumbers(std::string_view before, std::string_view after,
                    std::vector<ParameterChange>& changes) {
    for (std::size_t i = 0; i < NumberParameters.size(); ++i) {
        const std::string_view oldText = numberText(before, i);
        const std::string_view newText = numberText(after, i);
        const std::optional<int32_t> oldValue = parseInteger(oldText);
        const std::optional<int32_t> newValue = parseInteger(newText);
        const bool same = oldValue && newValue ? *oldValue == *newValue : oldText == newText;
        if (!same) {
            changes.push_back(
                {NumberParameters[i].name, shownNumber(oldText), shownNumber(newText)});
        }
    }
}

void compareTypeAndColours(std::string_view before, std::string_view after,
                           std::vector<ParameterChange>& changes) {
    const std::string_view oldType = lineColumns(before, TypeColumn, 1);
    const std::string_view newType = lineColumns(after, TypeColumn, 1);
    if (oldType != newType) {
        const auto shown = [](std::string_view type) {
            return type.empty() || static_cast<unsigned char>(type[0]) < ' ' ? quoted(type)
                                                                             : std::string(type);
        };
        changes.push_back({"Typ", shown(oldType), shown(newType)});
    }
    if (coloursText(before) != coloursText(after)) {
        changes.push_back({"Kolory", quoted(coloursText(before)), quoted(coloursText(after))});
    }
}

// The cells of row `row` as read: the first `width` characters of its line.
std::string_view cellsOf(const std::vector<std::string_view>& lines, int row, int rows, int width) {
    if (row > rows) {
        return {};
    }
    return lineAt(lines, FirstRowLine + static_cast<std::size_t>(row) - 1)
        .substr(0, static_cast<std::size_t>(width));
}

std::vector<int> differingColumns(std::string_view before, std::string_view after) {
    std::vector<int> columns;
    for (std::size_t i = 0; i < std::max(before.size(), after.size()); ++i) {
        if (i >= before.size() || i >= after.size() || before[i] != after[i]) {
            columns.push_back(static_cast<int>(i) + 1);
        }
    }
    return columns;
}

struct RowsRead {
    int rows = 0;
    int width = 0;
};

RowsRead rowsRead(std::string_view parameterLine) {
    const std::optional<int> rows = storedExtent(parameterLine, 1);
    const std::optional<int> width = storedExtent(parameterLine, 0);
    if (!rows || !width) {
        return {}; // the load stops at the parameter line
    }
    return {*rows, *width};
}

} // namespace

std::vector<std::string_view> contentLines(std::string_view content) {
    std::vector<std::string_view> lines;
    const char* p = content.data();
    const char* const end = p + content.size();
    while (p < end) {
        const char* cr = LineSplitter::lineEnd(p, end);
        if (cr == nullptr) {
            lines.emplace_back(p, static_cast<std::size_t>(end - p));
            break;
        }
        lines.emplace_back(p, static_cast<std::size_t>(cr - p));
        p = cr + 1 < end && cr[1] == LineFeed ? cr + 2 : cr + 1;
    }
    return lines;
}

StageChanges compareContents(std::string_view before, std::string_view after) {
    const std::vector<std::string_view> oldLines = contentLines(before);
    const std::vector<std::string_view> newLines = contentLines(after);
    const std::string_view oldParameters = lineAt(oldLines, ParameterLine);
    const std::string_view newParameters = lineAt(newLines, ParameterLine);
    StageChanges changes;
    compareNumbers(oldParameters, newParameters, changes.parameters);
    compareTypeAndColours(oldParameters, newParameters, changes.parameters);
    const RowsRead oldRows = rowsRead(oldParameters);
    const RowsRead newRows = rowsRead(newParameters);
    for (int row = 1; row <= std::max(oldRows.rows, newRows.rows); ++row) {
        const std::string_view oldCells = cellsOf(oldLines, row, oldRows.rows, oldRows.width);
        const std::string_view newCells = cellsOf(newLines, row, newRows.rows, newRows.width);
        if (oldCells != newCells) {
            changes.rows.push_back({row, std::string(oldCells), std::string(newCells),
                                    differingColumns(oldCells, newCells)});
        }
    }
    return changes;
}

} // namespace krelwin
