// Appends, replaces and renames a stage in an arbitrary file, or deletes, moves or duplicates
// one, and checks that every other line of the file survives as the write rules promise: an
// append keeps every line before the new record, a replace keeps the records before and after
// the replaced one, a rename changes the name line alone (line ends aside), a delete, move or
// duplicate gives the file's records in the new order, and a refused write leaves the file byte
// for byte as it was. No temporary file may remain.
//
// A stage whose cells hold a byte that would break the record count ("(", "}", CR, LF, byte 26)
// is refused by every append and replace, whatever the file holds.
//
// Input: byte 0 modulo 6 chooses append (0), replace (1), rename (2), delete (3), move (4) or
// duplicate (5); byte 1 modulo 8 the index to write, rename, delete, move or duplicate; byte 1
// divided by 8 the code of one cell of the stage written (0: ".", as every other cell), and
// modulo 8 the index a move goes to, and modulo 4 the duplicate's name (as it stands, "Kopia
// (2)", empty, or one with "}" that is refused); the rest is the stage file.
#include "errors.h"
#include "fuzz_support.h"
#include "stage_file.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>

namespace {

krelwin::Etap smallStage() {
    krelwin::Etap etap;
    etap.parametry.Szer = 18;
    etap.parametry.Wys = 10;
    etap.clearInterior();
    etap.plansza.at(1, 1) = 'S';
    etap.plansza.at(18, 10) = 'W';
    return etap;
}

// The codes byte 1 / 8 picks for the cell at column 5, row 3; no start or exit, which the
// start-and-exit rule would refuse.
constexpr std::string_view CellCodes(".(}\r\n\x1a+o*#=\"%~&<>^v/\\|-@x ,;{)0Z\xb9", 32);
constexpr std::string_view RecordBreaking("(}\r\n\x1a", 5);

bool contains(const std::string& line, char marker) {
    return line.find(marker) != std::string::npos;
}

using Lines = std::vector<std::string>;

Lines recordLines(const krelwin::Etap& etap, const std::string& name) {
    // Written once into an empty file, the record reads back as exactly its own lines.
    fuzzing::ScratchStageFile file;
    krelwin::ZapiszEtap(file.path(), name, krelwin::AppendIndex, etap);
    return fuzzing::referenceLines(file.read());
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkAppend(const Lines& before, const Lines& record, const Lines& after) {
    Lines expected = before;
    expected.insert(expected.end(), record.begin(), record.end());
    require(after == expected);
}

// Line number (from 0) of the (k+1)-th line holding "}", or -1.
long closingLineOf(const Lines& lines, int k) {
    int seen = 0;
    for (size_t i = 0; i < lines.size(); ++i)
        if (contains(lines[i], '}') && seen++ == k)
            return static_cast<long>(i);
    return -1;
}

void checkReplace(const Lines& before, int k, const Lines& record, const Lines& after) {
    long closing = closingLineOf(before, k);
    require(closing >= 0);
    Lines expected(before.begin(), before.begin() + std::max(closing - 1, 0L));
    expected.insert(expected.end(), record.begin(), record.end());
    // Copying resumes at the first line after the old "}" line that holds "(": the next stage's
    // name line. Counting "(" lines from the file's start instead would skip whole stages of a
    // file with a "}" in a name or row, or copy lines twice after a stray "(".
    for (size_t i = static_cast<size_t>(closing) + 1; i < before.size(); ++i) {
        if (contains(before[i], '(')) {
            expected.insert(expected.end(), before.begin() + static_cast<long>(i), before.end());
            break;
        }
    }
    require(after == expected);
}

void checkRename(const Lines& before, int k, const std::string& nameLine, const Lines& after) {
    long closing = closingLineOf(before, k);
    require(closing >= 0);
    Lines expected(before.begin(), before.begin() + std::max(closing - 1, 0L));
    expected.push_back(nameLine);
    expected.insert(expected.end(), before.begin() + closing, before.end());
    require(after == expected);
}

enum class Mode { Append, Replace, Rename, Delete, Move, Duplicate };

// The stages of a file as ranges of its lines, from the record rules alone: stage k's "}" line is
// the (k+1)-th line holding "}", its name line the line before (the "}" line itself when it is
// the file's first), and its record runs from its name line to the next stage's name line, or
// to the end of the file. The lines before the first name line come first, whatever happens.
struct Layout {
    std::vector<size_t> braceLines;
    std::vector<size_t> nameLines;
    size_t lineCount = 0;

    explicit Layout(const Lines& lines) : lineCount(lines.size()) {
        for (size_t i = 0; i < lines.size(); ++i) {
            if (contains(lines[i], '}')) {
                braceLines.push_back(i);
                nameLines.push_back(i == 0 ? 0 : i - 1);
            }
        }
    }
    size_t stages() const { return braceLines.size(); }
    size_t recordEnd(size_t k) const { return k + 1 < stages() ? nameLines[k + 1] : lineCount; }
    size_t prologueEnd() const { return stages() > 0 ? nameLines[0] : lineCount; }
    // Where the stage list cannot follow the records: a stage without a name line of its own,
    // whose "}" line is the file's first line or follows another "}" line. Moved, it takes the
    // line before it as its name.
    bool everyStageNamed() const {
        for (size_t k = 0; k < stages(); ++k)
            if (braceLines[k] == 0 || (k > 0 && braceLines[k - 1] + 1 == braceLines[k]))
                return false;
        return true;
    }
};

// One record of the file after a rearranging write: stage `from`'s, with its name line replaced
// when `newName` is given.
struct Placed {
    size_t from;
    std::optional<std::string> newName;
};

std::vector<Placed> rearranged(Mode mode, size_t stages, size_t index, size_t to,
                               const std::optional<std::string>& copyName) {
    std::vector<Placed> order;
    for (size_t k = 0; k < stages; ++k)
        order.push_back({k, std::nullopt});
    if (mode == Mode::Delete) {
        order.erase(order.begin() + static_cast<long>(index));
    } else if (mode == Mode::Move) {
        const Placed moved = order[index];
        order.erase(order.begin() + static_cast<long>(index));
        order.insert(order.begin() + static_cast<long>(to), moved);
    } else {
        order.insert(order.begin() + static_cast<long>(index) + 1, {index, copyName});
    }
    return order;
}

Lines expectedLines(const Lines& before, const Layout& layout, const std::vector<Placed>& order) {
    Lines expected(before.begin(), before.begin() + static_cast<long>(layout.prologueEnd()));
    for (const Placed& placed : order) {
        size_t first = layout.nameLines[placed.from];
        if (placed.newName) {
            expected.push_back("(" + *placed.newName + ")");
            first = layout.braceLines[placed.from];
        }
        const size_t end = layout.recordEnd(placed.from);
        if (first < end)
            expected.insert(expected.end(), before.begin() + static_cast<long>(first),
                            before.begin() + static_cast<long>(end));
    }
    return expected;
}

// The stage list after the write, from the names before: a stage whose record ends with its "}"
// line is not listed when it ends the file, and the list holds at most 100 names.
Lines expectedNames(const Lines& before, const Layout& layout, const std::vector<Placed>& order) {
    Lines names;
    for (const Placed& placed : order) {
        const std::string& line = before[layout.nameLines[placed.from]];
        const std::string ownName = line.size() <= 2 ? "" : line.substr(1, line.size() - 2);
        names.push_back(placed.newName.value_or(ownName));
    }
    if (!order.empty() &&
        layout.recordEnd(order.back().from) == layout.braceLines[order.back().from] + 1)
        names.pop_back();
    if (names.size() > 100)
        names.resize(100);
    return names;
}

// The names a duplicate gives its copy (none: as the stage stands); the last one is refused.
const std::optional<std::string> CopyNames[] = {std::nullopt, "Kopia (2)", "", "a}b"};

int rearrange(Mode mode, const uint8_t* data, size_t size) {
    const size_t index = data[1] % 8;
    const size_t to = (data[1] / 8) % 8;
    const std::optional<std::string>& copyName = CopyNames[(data[1] / 8) % 4];
    fuzzing::ScratchStageFile file;
    const std::string& path = file.path();
    file.write(data + 2, size - 2);
    const std::string bytesBefore = file.read();
    const Lines before = fuzzing::referenceLines(bytesBefore);
    const Layout layout(before);
    const bool inRange = index < layout.stages() && (mode != Mode::Move || to < layout.stages());
    const bool nameRefused = mode == Mode::Duplicate && copyName && contains(*copyName, '}');
    try {
        const int i = static_cast<int>(index);
        if (mode == Mode::Delete)
            krelwin::deleteStage(path, i);
        else if (mode == Mode::Move)
            krelwin::moveStage(path, i, static_cast<int>(to));
        else
            require(krelwin::duplicateStage(path, i, copyName) == i + 1);
    } catch (const krelwin::WriteRefused&) {
        // Only an index that names no stage, or a name holding "}", is refused.
        require(!inRange || nameRefused);
        require(file.read() == bytesBefore);
        require(file.aloneAndClosed());
        return 0;
    }
    require(inRange && !nameRefused);
    require(file.aloneAndClosed());
    const std::string bytesAfter = file.read();
    if (mode == Mode::Move && index == to) {
        require(bytesAfter == bytesBefore); // nothing moves, nothing is written
        return 0;
    }
    const std::vector<Placed> order = rearranged(mode, layout.stages(), index, to, copyName);
    const Lines after = fuzzing::referenceLines(bytesAfter);
    require(after == expectedLines(before, layout, order));
    if (layout.everyStageNamed())
        require(fuzzing::referenceNames(after) == expectedNames(before, layout, order));
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const Mode mode = static_cast<Mode>(data[0] % 6);
    if (mode == Mode::Delete || mode == Mode::Move || mode == Mode::Duplicate)
        return rearrange(mode, data, size);
    const int index = data[1] % 8;
    const char cell = CellCodes[data[1] / 8];
    const bool cellRefused = RecordBreaking.find(cell) != std::string_view::npos;
    krelwin::Etap etap = smallStage();
    etap.plansza.at(5, 3) = cell;
    static std::map<char, Lines> records;
    if (!cellRefused && !records.contains(cell))
        records[cell] = recordLines(etap, "Fuzz");

    fuzzing::ScratchStageFile file;
    const std::string& path = file.path();
    file.write(data + 2, size - 2);
    const std::string bytesBefore = file.read();
    const Lines before = fuzzing::referenceLines(bytesBefore);

    try {
        if (mode == Mode::Rename)
            krelwin::ZmienNazweEtapu(path, index, "Nowa (nazwa)");
        else
            krelwin::ZapiszEtap(path, "Fuzz", mode == Mode::Replace ? index : krelwin::AppendIndex,
                                etap);
    } catch (const krelwin::WriteRefused&) {
        // Only a stage with a cell that breaks the record count, or a write over a stage the
        // file does not hold, is refused.
        require((cellRefused && mode != Mode::Rename) ||
                (mode != Mode::Append && closingLineOf(before, index) < 0));
        require(file.read() == bytesBefore);
        require(file.aloneAndClosed());
        return 0;
    }
    require(!cellRefused || mode == Mode::Rename);
    const Lines after = fuzzing::referenceLines(file.read());
    const Lines& record = records[cell];
    switch (mode) {
    case Mode::Append:
        checkAppend(before, record, after);
        break;
    case Mode::Replace:
        checkReplace(before, index, record, after);
        break;
    case Mode::Rename:
        checkRename(before, index, "(Nowa (nazwa))", after);
        break;
    default:
        break;
    }
    require(file.aloneAndClosed());
    return 0;
}
