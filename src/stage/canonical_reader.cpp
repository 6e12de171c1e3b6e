#include "canonical_reader.h"

#include "line_splitter.h"
#include "stage_record.h"

#include <cstring>
#include <limits>

namespace krelwin {

namespace {

constexpr std::string_view LineFeedAlone("\n", 1);

// Whether some CR of the block, but its last byte, is not followed by an LF. Files the editor
// wrote hold none, so the block is checked 16 bytes at a time, each byte beside the next, rather
// than from one CR to the next.
bool holdsCrAlone(std::string_view block) {
    using Bytes = char __attribute__((vector_size(16)));
    constexpr std::size_t Width = sizeof(Bytes);
    const Bytes cr = Bytes{} + CarriageReturn;
    const Bytes lf = Bytes{} + LineFeed;
    const char* p = block.data();
    std::size_t left = block.size();
    Bytes alone{};
    for (; left > Width; p += Width, left -= Width) {
        Bytes bytes;
        Bytes next;
        std::memcpy(&bytes, p, Width);
        std::memcpy(&next, p + 1, Width);
        alone |= (bytes == cr) & (next != lf);
    }
    for (int lane = 0; lane < static_cast<int>(Width); ++lane) {
        if (alone[lane] != 0) {
            return true;
        }
    }
    for (; left > 1; ++p, --left) {
        if (p[0] == CarriageReturn && p[1] != LineFeed) {
            return true;
        }
    }
    return false;
}

// What went out last, to end the stretch as a line ends.
class Tail {
public:
    explicit Tail(const CanonicalReader::Sink& sink) : sink_(sink) {}

    void write(std::string_view piece) {
        if (piece.empty()) {
            return;
        }
        beforeLast_ = piece.size() >= 2 ? piece[piece.size() - 2] : last_;
        last_ = piece.back();
        any_ = true;
        sink_(piece);
    }

    // The bytes, an LF added after every CR that the next byte of the block does not follow with
    // one. A CR at the block's end is left to the next block, or to end().
    void writeWithLineFeeds(std::string_view block) {
        if (!holdsCrAlone(block)) {
            write(block);
            return;
        }
        const char* p = block.data();
        const char* const end = p + block.size();
        const char* run = p;
        while (const char* cr = LineSplitter::lineEnd(p, end)) {
            p = cr + 1;
            if (p < end && *p != LineFeed) {
                write(std::string_view(run, static_cast<std::size_t>(p - run)));
                write(LineFeedAlone);
                run = p;
            }
        }
        write(std::string_view(run, static_cast<std::size_t>(end - run)));
    }

    bool endsInCr() const { return any_ && last_ == CarriageReturn; }

    // A CR at the end gets its LF (the stretch ends at a line start, so no LF of the CR's own
    // follows); a last line without a line end gets CR LF.
    void end() {
        if (endsInCr()) {
            write(LineFeedAlone);
        } else if (any_ && !(beforeLast_ == CarriageReturn && last_ == LineFeed)) {
            write(LineEnd);
        }
    }

private:
    const CanonicalReader::Sink& sink_;
    char beforeLast_ = 0;
    char last_ = 0;
    bool any_ = false;
};

} // namespace

bool isCanonical(std::string_view lines) {
    return (lines.empty() || lines.ends_with(LineEnd)) && !holdsCrAlone(lines);
}

void appendCanonical(std::string_view lines, std::string& out) {
    const CanonicalReader::Sink sink = [&](std::string_view piece) { out.append(piece); };
    Tail tail(sink);
    tail.writeWithLineFeeds(lines);
    tail.end();
}

void CanonicalReader::copy(off_t from, std::optional<off_t> to, const Sink& sink) {
    if (to && *to <= from) {
        return;
    }
    reader_.moveTo(from);
    Tail tail(sink);
    off_t left = to ? *to - from : std::numeric_limits<off_t>::max();
    std::string_view block;
    while (left > 0 && reader_.readRawBlock(block)) {
        if (static_cast<off_t>(block.size()) > left) {
            block = block.substr(0, static_cast<std::size_t>(left));
        }
        left -= static_cast<off_t>(block.size());
        if (tail.endsInCr() && block.front() != LineFeed) {
            tail.write(LineFeedAlone);
        }
        tail.writeWithLineFeeds(block);
    }
    tail.end();
}

void CanonicalReader::append(off_t from, std::optional<off_t> to, std::string& out) {
    copy(from, to, [&](std::string_view piece) { out.append(piece); });
}

} // namespace krelwin
