#include "canonical_reader.h"

#include "line_splitter.h"
#include "stage_record.h"

#include <cstring>
#include <limits>

namespace krelwin {

namespace {

// Appends the bytes, an LF added after every CR that the next byte of the block does not
// follow with one. A CR at the block's end is left for the caller, who sees the next block.
void appendWithLineFeeds(std::string_view block, std::string& out) {
    const char* p = block.data();
    const char* const end = p + block.size();
    const char* run = p;
    while (const char* cr = LineSplitter::lineEnd(p, end)) {
        p = cr + 1;
        if (p < end && *p != LineFeed) {
            out.append(run, p);
            out += LineFeed;
            run = p;
        }
    }
    out.append(run, end);
}

bool endsInLineEnd(const std::string& out, std::size_t from) {
    return out.size() >= from + 2 && out[out.size() - 2] == CarriageReturn &&
           out.back() == LineFeed;
}

} // namespace

void CanonicalReader::append(off_t from, std::optional<off_t> to, std::string& out) {
    if (to && *to <= from) {
        return;
    }
    reader_.moveTo(from);
    const std::size_t start = out.size();
    off_t left = to ? *to - from : std::numeric_limits<off_t>::max();
    bool endsInCr = false; // the last block read ended in a CR
    std::string_view block;
    while (left > 0 && reader_.readRawBlock(block)) {
        if (static_cast<off_t>(block.size()) > left) {
            block = block.substr(0, static_cast<std::size_t>(left));
        }
        left -= static_cast<off_t>(block.size());
        if (endsInCr && block.front() != LineFeed) {
            out += LineFeed;
        }
        appendWithLineFeeds(block, out);
        endsInCr = block.back() == CarriageReturn;
    }
    if (endsInCr) {
        out += LineFeed; // `to` is a line start, so no LF of this CR's own follows
    } else if (out.size() > start && !endsInLineEnd(out, start)) {
        out += LineEnd;
    }
}

} // namespace krelwin
