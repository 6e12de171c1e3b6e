#include "stage_locator.h"

#include "byte_scan.h"
#include "file_system.h"
#include "line_splitter.h"
#include "stage_record.h"

#include <cstring>
#include <fcntl.h>
#include <utility>

namespace krelwin {

namespace {

// The bytes [from, to) of the file, read anew.
std::string readRange(int fd, off_t from, off_t to) {
    std::string bytes(static_cast<std::size_t>(to - from), '\0');
    seekTo(fd, from);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const std::size_t n = readSome(fd, bytes.data() + got, bytes.size() - got);
        if (n == 0) {
            bytes.resize(got);
            break;
        }
        got += n;
    }
    return bytes;
}

// A line as stored, without the CR or CR LF that ends it.
void dropLineEnd(std::string& line) {
    if (!line.empty() && line.back() == LineFeed) {
        line.pop_back();
    }
    if (!line.empty() && line.back() == CarriageReturn) {
        line.pop_back();
    }
}

} // namespace

// One forward walk over the file's lines, block by block, that knows where the line it stands
// in began and where the line before began, without looking at the lines in between.
class StageLocator::Scanner {
public:
    Scanner(int fd, off_t start)
        : fd_(fd), blockSize_(readBlockSizeFor(fd)), block_(new char[blockSize_]),
          readOffset_(start) {
        lineStart_ = start;
    }
    Scanner(std::string_view text, off_t start) : text_(text) {
        data_ = text.data();
        size_ = text.size();
        pos_ = static_cast<std::size_t>(start);
        exhausted_ = true;
        lineStart_ = start;
    }

    // Moves to the next byte `marker` (never CR or LF); false at the end of the file.
    bool findMarker(char marker) {
        while (fill()) {
            const char* from = data_ + pos_;
            const char* const end = data_ + size_;
            const char* found = static_cast<const char*>(std::memchr(from, marker, end - from));
            advanceTo(found != nullptr ? found : end);
            if (found != nullptr) {
                return true;
            }
        }
        return false;
    }

    // Moves to the start of the next line (or the end of the file).
    void passLine() {
        while (fill()) {
            const char* const end = data_ + size_;
            const char* cr = LineSplitter::lineEnd(data_ + pos_, end);
            if (cr != nullptr) {
                previousLineStart_ = lineStart_;
                const char* next = splitter_.pastLineEnd(cr, end);
                lineStart_ = offsetOf(next);
                pos_ = next - data_;
                return;
            }
            pos_ = size_;
        }
        // The file ends inside the line, without a line end: what follows it starts at the end.
        previousLineStart_ = lineStart_;
        lineStart_ = offsetOf(data_ + size_);
    }

    // Makes at least one byte available; false at the end of the file.
    bool fill() {
        while (pos_ == size_) {
            if (exhausted_) {
                return false;
            }
            readBlock();
            const char* start = splitter_.blockStart(data_, data_ + size_);
            if (start != data_) {
                // The LF belongs to the CR that ended the last block: a line starting at the
                // block's first byte starts after it.
                if (lineStart_ == blockOffset_) {
                    ++lineStart_;
                }
                pos_ = start - data_;
            }
        }
        return true;
    }

    off_t lineStart() const { return lineStart_; }
    std::optional<off_t> previousLineStart() const { return previousLineStart_; }

    // The bytes [from, to) when the current block holds them all.
    std::optional<std::string_view> held(off_t from, off_t to) const {
        if (from < blockOffset_ || to > blockOffset_ + static_cast<off_t>(size_)) {
            return std::nullopt;
        }
        return std::string_view(data_ + (from - blockOffset_), static_cast<std::size_t>(to - from));
    }

    std::string bytes(off_t from, off_t to) const {
        if (const std::optional<std::string_view> inBlock = held(from, to)) {
            return std::string(*inBlock);
        }
        return readRange(fd_, from, to);
    }

    bool bytesAfterEndMark() const { return bytesAfterEndMark_; }
    int fd() const { return fd_; }
    std::string_view text() const { return text_; }

    std::function<void(std::string_view)> observer;

private:
    off_t offsetOf(const char* p) const { return blockOffset_ + (p - data_); }

    // Walks from the current position to `to` in the block, noting the line starts passed.
    void advanceTo(const char* to) {
        const char* from = data_ + pos_;
        const char* const end = data_ + size_;
        const void* last = ::memrchr(from, CarriageReturn, to - from);
        if (last != nullptr) {
            const char* lastCr = static_cast<const char*>(last);
            const void* before = ::memrchr(from, CarriageReturn, lastCr - from);
            previousLineStart_ =
                before != nullptr
                    ? offsetOf(splitter_.pastLineEnd(static_cast<const char*>(before), end))
                    : lineStart_;
            lineStart_ = offsetOf(splitter_.pastLineEnd(lastCr, end));
        }
        pos_ = to - data_;
    }

    void readBlock() {
        if (fd_ < 0) {
            exhausted_ = true;
            return;
        }
        seekTo(fd_, readOffset_);
        const std::size_t got = readSome(fd_, block_.get(), blockSize_);
        data_ = block_.get();
        blockOffset_ = readOffset_;
        readOffset_ += static_cast<off_t>(got);
        pos_ = 0;
        size_ = got;
        if (got == 0) {
            exhausted_ = true;
            return;
        }
        if (const void* mark = std::memchr(data_, EndMark, got)) {
            size_ = static_cast<const char*>(mark) - data_;
            bytesAfterEndMark_ = size_ + 1 < got || anyByteLeft();
            exhausted_ = true;
        }
        if (observer && size_ > 0) {
            observer(std::string_view(data_, size_));
        }
    }

    bool anyByteLeft() {
        char probe;
        return readSome(fd_, &probe, 1) > 0;
    }

    int fd_ = -1;
    std::string_view text_;
    std::size_t blockSize_ = 0;
    std::unique_ptr<char[]> block_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    off_t blockOffset_ = 0;
    off_t readOffset_ = 0;
    bool exhausted_ = false;
    bool bytesAfterEndMark_ = false;
    LineSplitter splitter_;
    off_t lineStart_ = 0;
    std::optional<off_t> previousLineStart_;
};

StageLocator::StageLocator(int fd) : walk_(std::make_unique<Scanner>(fd, 0)) {}

StageLocator::StageLocator(std::string_view text) : walk_(std::make_unique<Scanner>(text, 0)) {}

StageLocator::~StageLocator() = default;

std::optional<StageSpan> StageLocator::next() {
    if (lookahead_) {
        return std::exchange(lookahead_, std::nullopt);
    }
    return walkOn();
}

std::optional<off_t> StageLocator::nextStageStart() {
    if (!lookahead_) {
        lookahead_ = walkOn();
    }
    return lookahead_ ? std::optional<off_t>(lookahead_->nameLine) : std::nullopt;
}

std::optional<StageSpan> StageLocator::walkOn() {
    if (!walk_->findMarker(RecordMarker)) {
        return std::nullopt;
    }
    StageSpan span;
    span.index = found_++;
    span.braceLine = walk_->lineStart();
    span.nameLine = walk_->previousLineStart().value_or(span.braceLine);
    walk_->passLine();
    span.moreFollows = walk_->fill();
    span.afterBraceLine = walk_->lineStart();
    return span;
}

std::optional<StageSpan> StageLocator::find(long index) {
    while (std::optional<StageSpan> span = next()) {
        if (span->index == index) {
            return span;
        }
    }
    return std::nullopt;
}

long StageLocator::countAll() {
    while (next()) {
    }
    return found_;
}

long StageLocator::stagesFound() const {
    return found_;
}

std::string StageLocator::nameLineText(const StageSpan& span) {
    if (!span.hasNameLine()) {
        return {};
    }
    std::string line = walk_->bytes(span.nameLine, span.braceLine);
    dropLineEnd(line);
    return line;
}

std::optional<off_t> StageLocator::recordEnd(const StageSpan& span) {
    Scanner after = walk_->fd() >= 0 ? Scanner(walk_->fd(), span.afterBraceLine)
                                     : Scanner(walk_->text(), span.afterBraceLine);
    if (!after.findMarker(NameMarker)) {
        return std::nullopt;
    }
    return after.lineStart();
}

void StageLocator::onBlock(std::function<void(std::string_view)> observer) {
    walk_->observer = std::move(observer);
}

bool StageLocator::hasBytesAfterEndMark() const {
    return walk_->bytesAfterEndMark();
}

std::string listedName(StageLocator& stages, const StageSpan& span) {
    std::string line = stages.nameLineText(span);
    if (line.size() <= 2 || contains(line, RecordMarker)) {
        return {};
    }
    // Made in the line's own storage: a name line may be megabytes long.
    line.pop_back();
    line.erase(0, 1);
    return line;
}

long countStages(const std::string& path) {
    const FileDescriptor fd = openStageFile(path, O_RDONLY);
    return StageLocator(fd.get()).countAll();
}

} // namespace krelwin
