#include "clean_pack.h"

#include "cells.h"
#include "file_system.h"
#include "integer_text.h"
#include "line_splitter.h"
#include "parametry_etapu.h"

#include <cstring>
#include <string>
#include <string_view>

namespace krelwin {

namespace {

constexpr std::size_t BlockSize = 1 << 20;

bool holds(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

// How often `c` stands in the text, counting no further than two.
int occurrencesUpToTwo(std::string_view text, char c) {
    int count = 0;
    if (text.empty()) {
        return count; // memchr must not be given the null pointer of an empty view
    }
    for (const char *p = text.data(), *end = p + text.size();
         count < 2 && (p = static_cast<const char*>(std::memchr(p, c, end - p))) != nullptr; ++p) {
        ++count;
    }
    return count;
}

// Whether the text holds exactly `lines` CRs and as many LFs, counted 16 bytes at a time.
bool holdsLineEnds(std::string_view text, std::size_t lines) {
    using Bytes = char __attribute__((vector_size(16)));
    constexpr std::size_t Width = sizeof(Bytes);
    constexpr std::size_t Run = 255; // steps before a lane of a sum could overflow
    const Bytes cr = Bytes{} + CarriageReturn;
    const Bytes lf = Bytes{} + LineFeed;
    std::size_t crs = 0;
    std::size_t lfs = 0;
    const char* p = text.data();
    std::size_t left = text.size();
    while (left >= Width) {
        Bytes crSum{};
        Bytes lfSum{};
        for (std::size_t step = 0; step < Run && left >= Width; ++step, p += Width, left -= Width) {
            Bytes bytes;
            std::memcpy(&bytes, p, Width);
            crSum -= static_cast<Bytes>(bytes == cr); // -1 in each lane that matches
            lfSum -= static_cast<Bytes>(bytes == lf);
        }
        for (std::size_t lane = 0; lane < Width; ++lane) {
            crs += static_cast<unsigned char>(crSum[lane]);
            lfs += static_cast<unsigned char>(lfSum[lane]);
        }
    }
    for (; left > 0; ++p, --left) {
        crs += *p == CarriageReturn;
        lfs += *p == LineFeed;
    }
    return crs == lines && lfs == lines;
}

// The numbers of a parameter line, when each converts and lies in its range, type and colour
// text included.
struct Size {
    int32_t szer = 0;
    int32_t wys = 0;
};
std::optional<Size> cleanParameters(std::string_view line) {
    if (holds(line, '(') || holds(line, '}') || holds(line, LineFeed) ||
        line.size() < ColoursColumn + ColoursWidth - 1) {
        return std::nullopt;
    }
    ParametryEtapu parametry;
    for (std::size_t i = 0; i < NumberParameters.size(); ++i) {
        const std::optional<int32_t> value = parseInteger(numberText(line, i));
        if (!value || *value != NumberParameters[i].range.clamp(*value)) {
            return std::nullopt;
        }
        parametry.*NumberParameters[i].member = *value;
    }
    const char type = line[TypeColumn - 1];
    if (type != TypZwykly && type != TypBonusowy) {
        return std::nullopt;
    }
    return Size{parametry.Szer, parametry.Wys};
}

class CleanPackReader {
public:
    explicit CleanPackReader(int fd) : fd_(fd) { buffer_.resize(BlockSize); }

    CleanPack run() {
        CleanPack pack;
        for (;;) {
            const Step step = record();
            if (step == Step::NotClean || (step == Step::NeedMore && !readMore())) {
                break; // what is left needs the full check
            }
            if (step == Step::NeedMore) {
                continue;
            }
            lastCleanStart_ = bufferOffset_ + static_cast<off_t>(begin_);
            ++pack.stages;
            begin_ = next_;
            if (begin_ == end_ && !readMore()) {
                pack.complete = pack.stages > 0;
                pack.bytesAfterEndMark = bytesAfterEndMark_;
                return pack;
            }
        }
        pack.resumeAt = pack.stages > 0 ? lastCleanStart_ : 0;
        pack.resumeIndex = pack.stages > 0 ? pack.stages - 1 : 0;
        return pack;
    }

private:
    enum class Step { Done, NeedMore, NotClean };

    // One record from begin_; next_ is where the next one starts.
    Step record() {
        const char* p = buffer_.data() + begin_;
        const char* const end = buffer_.data() + end_;
        std::string_view name, brace, parameters, opening;
        for (std::string_view* line : {&name, &brace, &parameters, &opening}) {
            if (const Step step = takeLine(p, end, *line); step != Step::Done) {
                return step;
            }
        }
        if (name.size() < 2 || name.front() != '(' || name.back() != ')' || holds(name, '}') ||
            holds(name, LineFeed) || brace != "}" || opening != "{") {
            return Step::NotClean;
        }
        const std::optional<Size> size = cleanParameters(parameters);
        if (!size) {
            return Step::NotClean;
        }
        const std::size_t rowLength = static_cast<std::size_t>(size->szer) + 2;
        const std::size_t rowsLength = rowLength * static_cast<std::size_t>(size->wys);
        if (static_cast<std::size_t>(end - p) < rowsLength) {
            return Step::NeedMore;
        }
        const std::string_view rows(p, rowsLength);
        for (std::size_t rowEnd = rowLength - 2; rowEnd < rowsLength; rowEnd += rowLength) {
            if (rows[rowEnd] != CarriageReturn || rows[rowEnd + 1] != LineFeed) {
                return Step::NotClean;
            }
        }
        if (!holdsLineEnds(rows, static_cast<std::size_t>(size->wys)) || holds(rows, '(') ||
            holds(rows, '}') || occurrencesUpToTwo(rows, kod::Start) != 1 ||
            occurrencesUpToTwo(rows, kod::Wyjscie) != 1) {
            return Step::NotClean;
        }
        next_ = static_cast<std::size_t>(p + rowsLength - buffer_.data());
        return Step::Done;
    }

    // A line ended by CR LF; at the end of what has been read, more is needed.
    Step takeLine(const char*& p, const char* end, std::string_view& line) {
        const char* cr = LineSplitter::lineEnd(p, end);
        if (cr == nullptr || cr + 1 == end) {
            return Step::NeedMore;
        }
        if (cr[1] != LineFeed) {
            return Step::NotClean;
        }
        line = std::string_view(p, static_cast<std::size_t>(cr - p));
        p = cr + 2;
        return Step::Done;
    }

    // Keeps the unfinished record and reads the next block after it; false at the end.
    bool readMore() {
        if (ended_) {
            return false;
        }
        const std::size_t kept = end_ - begin_;
        std::memmove(buffer_.data(), buffer_.data() + begin_, kept);
        bufferOffset_ += static_cast<off_t>(begin_);
        begin_ = 0;
        end_ = kept;
        if (buffer_.size() - end_ < BlockSize / 2) {
            // A record larger than half a block is not one the editor writes.
            ended_ = true;
            return false;
        }
        const std::size_t got = readSome(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (got == 0) {
            ended_ = true;
            return false;
        }
        if (const void* mark = std::memchr(buffer_.data() + end_, EndMark, got)) {
            const std::size_t markAt = static_cast<const char*>(mark) - buffer_.data();
            bytesAfterEndMark_ = markAt + 1 < end_ + got || anyByteLeft();
            end_ = markAt;
            ended_ = true;
            return end_ > 0;
        }
        end_ += got;
        return true;
    }

    bool anyByteLeft() {
        char probe;
        return readSome(fd_, &probe, 1) > 0;
    }

    int fd_;
    std::string buffer_;
    off_t bufferOffset_ = 0; // where in the file the buffer's first byte stands
    off_t lastCleanStart_ = 0;
    std::size_t begin_ = 0; // the unfinished record starts here
    std::size_t next_ = 0;
    std::size_t end_ = 0; // what has been read ends here
    bool ended_ = false;  // nothing more comes from the file
    bool bytesAfterEndMark_ = false;
};

} // namespace

CleanPack readCleanPack(int fd) {
    return CleanPackReader(fd).run();
}

} // namespace krelwin
