#include "clean_pack.h"

#include "byte_scan.h"
#include "cell_kinds.h"
#include "cells.h"
#include "file_system.h"
#include "integer_text.h"
#include "line_splitter.h"
#include "parametry_etapu.h"
#include "stage_record.h"

#include <cstring>
#include <string>
#include <string_view>

namespace krelwin {

namespace {

constexpr std::size_t BlockSize = 1 << 20;

// What the rows of a clean record hold: codes of the alphabet, and CR LF where each row ends.
const ByteSet& codesAndLineEnds() {
    static const ByteSet set = [] {
        std::string members{CarriageReturn, LineFeed};
        for (const CellKind& kind : CellKinds) {
            members += kind.kody;
        }
        return ByteSet(members);
    }();
    return set;
}

// Exactly one of `c` in the text.
bool holdsOnce(std::string_view text, char c) {
    return countUpTo(text, c, 2) == 1;
}

// The numbers of a parameter line, when each converts and lies in its range, type and colour
// text included.
struct Size {
    int32_t szer = 0;
    int32_t wys = 0;
    int32_t ileD = 0;
};
std::optional<Size> cleanParameters(std::string_view line) {
    // (No CR and no byte 26 can stand in a line: the set's other bytes are the ones looked for.)
    if (containsAny(line, RecordBreakingBytes) || line.size() < ColoursColumn + ColoursWidth - 1) {
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
    return Size{parametry.Szer, parametry.Wys, parametry.IleD};
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
            if (diamonds_ < toCollect_) {
                pack.fewerDiamonds.push_back({pack.stages, diamonds_, toCollect_});
            }
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
        if (name.size() < 2 || name.front() != NameMarker || name.back() != ')' ||
            containsAny(name, NameBreakingBytes) || brace != "}" || opening != "{") {
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
        // The line ends counted stand where each row ends, so the rows hold no others.
        const auto [crs, lfs, diamonds] =
            countEach<3>(rows, {CarriageReturn, LineFeed, kod::Diament});
        const auto rowCount = static_cast<std::size_t>(size->wys);
        if (crs != rowCount || lfs != rowCount || !codesAndLineEnds().holdsAll(rows) ||
            !holdsOnce(rows, kod::Start) || !holdsOnce(rows, kod::Wyjscie)) {
            return Step::NotClean;
        }
        diamonds_ = static_cast<int>(diamonds);
        toCollect_ = size->ileD;
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
    int diamonds_ = 0;    // of the last clean record
    int32_t toCollect_ = 0;
    bool bytesAfterEndMark_ = false;
};

} // namespace

CleanPack readCleanPack(int fd) {
    return CleanPackReader(fd).run();
}

} // namespace krelwin
