// Reads stretches of a stage file as every write stores them: each line ended by CR LF. A line
// that ends in a CR alone gets its LF, and a last line without a line end gets CR LF; nothing at
// or after a byte 26 is read. So two records that the game reads alike, one from a file with CR
// line ends and one rewritten by the editor, read as the same bytes.
//
// It keeps its block of the file between calls: stretches taken front to back, as the records
// of a pack follow each other, read the file about once.
#pragma once

#include "line_reader.h"

#include <optional>
#include <string>
#include <sys/types.h>

namespace krelwin {

class CanonicalReader {
public:
    // Reads a descriptor that stays the caller's; it may share it with a stage locator.
    explicit CanonicalReader(int fd) : reader_(fd) {}

    // Appends the lines of the bytes [from, to) of the file (to its end when `to` is not
    // given), `from` and `to` being line starts, to `out`. Throws InOutError.
    void append(off_t from, std::optional<off_t> to, std::string& out);

private:
    LineReader reader_;
};

} // namespace krelwin
