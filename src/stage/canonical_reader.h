// Reads stretches of a stage file as every write stores them: each line ended by CR LF. A line
// that ends in a CR alone gets its LF, and a last line without a line end gets CR LF; nothing at
// or after a byte 26 is read. So two records that the game reads alike, one from a file with CR
// line ends and one rewritten by the editor, read as the same bytes, and every write copies the
// lines it keeps through here.
//
// It keeps its block of the file between calls: stretches taken front to back, as the records
// of a pack follow each other, read the file about once.
#pragma once

#include "line_reader.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace krelwin {

// Whether a stretch of lines (from a line start to a line start, or to the end of the file)
// already stands as a write stores it: every CR followed by an LF, the last line ended.
bool isCanonical(std::string_view lines);
// Appends such a stretch as a write stores it.
void appendCanonical(std::string_view lines, std::string& out);

class CanonicalReader {
public:
    // Takes the pieces of a stretch in order; runs of lines already ended by CR LF come whole.
    using Sink = std::function<void(std::string_view)>;

    // Reads a descriptor that stays the caller's; it may share it with a stage locator.
    explicit CanonicalReader(int fd) : reader_(fd) {}

    // Hands the lines of the bytes [from, to) of the file (to its end when `to` is not given),
    // `from` and `to` being line starts, to `sink`. Throws InOutError, and what `sink` throws.
    void copy(off_t from, std::optional<off_t> to, const Sink& sink);
    // The same, appended to `out`.
    void append(off_t from, std::optional<off_t> to, std::string& out);

private:
    LineReader reader_;
};

} // namespace krelwin
