#include "line_reader.h"

#include "file_system.h"

#include <cassert>
#include <cstring>
#include <fcntl.h>

namespace krelwin {

namespace {

constexpr std::size_t BlockSize = 256 * 1024;
constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char EndMark = 26;

} // namespace

struct LineReader::Impl {
    FileDescriptor owned;
    int fd = -1;
    std::unique_ptr<char[]> block{new char[BlockSize]};
    std::size_t begin = 0; // unread bytes are block[begin, end)
    std::size_t end = 0;
    bool exhausted = false; // nothing more will come from the descriptor
    bool bytesAfterEndMark = false;
    bool lineFeedMayFollow = false; // the last line ended in a CR at the very end of a block
    std::string longLine;           // a line that straddles blocks is gathered here

    std::size_t unread() const { return end - begin; }
    char* position() { return block.get() + begin; }

    void readBlock() {
        begin = 0;
        end = readSome(fd, block.get(), BlockSize);
        if (end == 0) {
            exhausted = true;
            return;
        }
        const void* mark = std::memchr(block.get(), EndMark, end);
        if (mark != nullptr) {
            const std::size_t markAt = static_cast<const char*>(mark) - block.get();
            bytesAfterEndMark = markAt + 1 < end || anyByteLeft();
            end = markAt;
            exhausted = true;
        }
    }

    bool anyByteLeft() {
        char probe;
        return readSome(fd, &probe, 1) > 0;
    }

    // Makes at least one unread byte available; false at the end of the file.
    bool fill() {
        while (unread() == 0) {
            if (exhausted) {
                return false;
            }
            readBlock();
            if (lineFeedMayFollow && unread() > 0) {
                lineFeedMayFollow = false;
                if (block[begin] == LineFeed) {
                    ++begin;
                }
            }
        }
        return true;
    }

    // Steps over the CR at `crAt` and the LF that may belong to it.
    void passLineEnd(std::size_t crAt) {
        begin = crAt + 1;
        if (begin < end) {
            if (block[begin] == LineFeed) {
                ++begin;
            }
        } else {
            lineFeedMayFollow = true;
        }
    }

    const char* findLineEnd() {
        return static_cast<const char*>(std::memchr(position(), CarriageReturn, unread()));
    }

    bool nextLine(std::string_view& line) {
        if (!fill()) {
            line = {};
            return false;
        }
        bool straddles = false;
        for (;;) {
            const char* start = position();
            const char* lineEnd = findLineEnd();
            if (lineEnd != nullptr) {
                const std::size_t length = lineEnd - start;
                passLineEnd(lineEnd - block.get());
                if (!straddles) {
                    line = std::string_view(start, length);
                    return true;
                }
                longLine.append(start, length);
                line = longLine;
                return true;
            }
            if (!straddles) {
                longLine.clear();
                straddles = true;
            }
            longLine.append(start, unread());
            begin = end;
            if (!fill()) {
                line = longLine;
                return true;
            }
        }
    }

    void skipRestOfLine() {
        while (fill()) {
            const char* lineEnd = findLineEnd();
            if (lineEnd != nullptr) {
                passLineEnd(lineEnd - block.get());
                return;
            }
            begin = end;
        }
    }

    long skipLinesHolding(char marker, long count) {
        long passed = 0;
        while (passed < count && fill()) {
            const void* found = std::memchr(position(), marker, unread());
            if (found == nullptr) {
                // The block holds no marker: its lines are skipped whole. If it ends in a CR,
                // an LF opening the next block still belongs to that line end.
                lineFeedMayFollow = block[end - 1] == CarriageReturn;
                begin = end;
                continue;
            }
            ++passed;
            begin = static_cast<const char*>(found) - block.get();
            skipRestOfLine();
        }
        return passed;
    }
};

LineReader::LineReader(const std::string& path) : impl_(std::make_unique<Impl>()) {
    impl_->owned = openStageFile(path, O_RDONLY);
    impl_->fd = impl_->owned.get();
}

LineReader::LineReader(int borrowedFd) : impl_(std::make_unique<Impl>()) {
    impl_->fd = borrowedFd;
}

LineReader::~LineReader() = default;

bool LineReader::readLine(std::string& line) {
    std::string_view view;
    const bool read = impl_->nextLine(view);
    if (view.data() == impl_->longLine.data() && !view.empty()) {
        // A line gathered across blocks is handed over, not copied: it may be megabytes long.
        line.swap(impl_->longLine);
    } else {
        line.assign(view);
    }
    return read;
}

bool LineReader::readLineView(std::string_view& line) {
    return impl_->nextLine(line);
}

long LineReader::skipLinesHolding(char marker, long count) {
    assert(marker != CarriageReturn && marker != LineFeed);
    return impl_->skipLinesHolding(marker, count);
}

bool LineReader::readRawBlock(std::string_view& block) {
    if (!impl_->fill()) {
        block = {};
        return false;
    }
    block = std::string_view(impl_->position(), impl_->unread());
    impl_->begin = impl_->end;
    return true;
}

bool LineReader::atEnd() {
    return !impl_->fill();
}

bool LineReader::hasBytesAfterEndMark() const {
    return impl_->bytesAfterEndMark;
}

} // namespace krelwin
