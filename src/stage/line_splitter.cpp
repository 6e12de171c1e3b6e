#include "line_splitter.h"

#include <cstring>

namespace krelwin {

const char* LineSplitter::blockStart(const char* begin, const char* end) {
    if (lineFeedMayFollow_ && begin < end) {
        lineFeedMayFollow_ = false;
        if (*begin == LineFeed) {
            ++begin;
        }
    }
    return begin;
}

const char* LineSplitter::lineEnd(const char* from, const char* end) {
    return static_cast<const char*>(std::memchr(from, CarriageReturn, end - from));
}

const char* LineSplitter::pastLineEnd(const char* cr, const char* end) {
    const char* next = cr + 1;
    if (next == end) {
        lineFeedMayFollow_ = true;
        return next;
    }
    return *next == LineFeed ? next + 1 : next;
}

} // namespace krelwin
