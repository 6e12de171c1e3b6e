// What changed within one stage, as the game reads it: the parameters whose stored values
// differ and the rows whose cells differ. Both sides are record contents as a pack index reads
// them: the "}" line, the parameter line, "{" and the rows, every line ended by CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace krelwin {

// A parameter and its two values as shown: a number as converted ("010" shows as 10), a field
// that does not convert and the colour text in „” quotes, the type as its letter.
struct ParameterChange {
    std::string name; // Szer, Wys, ..., Typ, Kolory
    std::string before;
    std::string after;
    bool operator==(const ParameterChange&) const = default;
};

// A row whose cells differ: the cells the game reads on each side (the first Szer characters
// of the row, at most 80; fewer where the row is short or missing) and the columns, from 1,
// where they differ or only one side has a cell.
struct RowChange {
    int row; // from 1, as the rows of the map view
    std::string before;
    std::string after;
    std::vector<int> columns;
    bool operator==(const RowChange&) const = default;
};

struct StageChanges {
    std::vector<ParameterChange> parameters;
    std::vector<RowChange> rows;
    // Neither parameters nor cells differ, only bytes that the game does not read: characters
    // past the read columns of the parameter line or past a row's width, or surplus rows.
    bool onlyUnreadBytes() const { return parameters.empty() && rows.empty(); }
};

StageChanges compareContents(std::string_view before, std::string_view after);

// The lines of a record's content, without their line ends.
std::vector<std::string_view> contentLines(std::string_view content);

} // namespace krelwin
