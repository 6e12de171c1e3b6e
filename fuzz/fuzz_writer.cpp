// Appends, replaces and renames a stage in an arbitrary file and checks that every other line of
// the file survives as the write rules promise: an append keeps every line before the new
// record, a replace keeps the records before and after the replaced one, a rename changes the
// name line alone (line ends aside), and a refused write leaves the file byte for byte as it
// was. No temporary file may remain.
//
// A stage whose cells hold a byte that would break the record count ("(", "}", CR, LF, byte 26)
// is refused by every append and replace, whatever the file holds.
//
// Input: byte 0 modulo 3 chooses append (0), replace (1) or rename (2), byte 1 modulo 8 the
// index to replace or rename and byte 1 divided by 8 the code of one cell of the stage written
// (0: ".", as every other cell); the rest is the stage file.
#include "errors.h"
#include "fuzz_support.h"
#include "stage_file.h"

#include <algorithm>
#include <cstdlib>
#include <map>
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

enum class Mode { Append, Replace, Rename };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const Mode mode = static_cast<Mode>(data[0] % 3);
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
    }
    require(file.aloneAndClosed());
    return 0;
}
