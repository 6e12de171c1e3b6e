// The line-end rule of stage files, in one place for every reader and copier of them:
//  - a line ends at a CR; an LF directly after that CR belongs to the line end; an LF anywhere
//    else is an ordinary character of the line;
//  - the file ends at its physical end or at its first byte 26, whichever comes first.
//
// Files are read in large blocks, so a CR LF can be split between two blocks: the splitter
// remembers a CR that ended one block and steps over the LF that opens the next.
#pragma once

#include <cstddef>

namespace krelwin {

inline constexpr char CarriageReturn = '\r';
inline constexpr char LineFeed = '\n';
inline constexpr char EndMark = 26;

class LineSplitter {
public:
    // Where a new block's lines begin: past an LF that belongs to a CR ending the last block.
    const char* blockStart(const char* begin, const char* end);
    // The CR ending the line that runs on from `from`; nullptr when [from, end) holds none.
    static const char* lineEnd(const char* from, const char* end);
    // The start of the line after the CR at `cr`, which lies in [.., end): past an LF directly
    // after the CR. A CR that is the block's last byte leaves that LF to blockStart.
    const char* pastLineEnd(const char* cr, const char* end);
    // Forgets a CR at the end of the last block (for a jump to another place in the file).
    void reset() { lineFeedMayFollow_ = false; }

private:
    bool lineFeedMayFollow_ = false;
};

} // namespace krelwin
