#include "line_reader.h"

#include "file_system.h"
#include "line_splitter.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <optional>

namespace krelwin {

namespace {} // namespace

struct LineReader::Impl {
    FileDescriptor owned;
    int fd = -1;
    std::size_t blockSize = 0;
    std::unique_ptr<char[]> block;
    std::size_t begin = 0; // unread bytes are block[begin, end)
    std::size_t end = 0;
    bool exhausted = false; // nothing more will come from the descriptor
    bool bytesAfterEndMark = false;
    LineSplitter splitter;
    std::string longLine; // a line that straddles blocks is gathered here
    // Once the reader has been moved: where the block in hand starts in the file, and where the
    // next one does.
    std::optional<off_t> blockOffset;
    off_t nextBlockOffset = 0;

    void readFrom(int descriptor) {
        fd = descriptor;
        blockSize = readBlockSizeFor(fd);
        block.reset(new char[blockSize]);
    }
    std::size_t unread() const { return end - begin; }
    char* position() { return block.get() + begin; }

    void readBlock() {
        if (blockOffset) {
            seekTo(fd, nextBlockOffset);
            blockOffset = nextBlockOffset;
        }
        begin = 0;
        end = readSome(fd, block.get(), blockSize);
        nextBlockOffset += static_cast<off_t>(end);
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
            begin = splitter.blockStart(position(), block.get() + end) - block.get();
        }
        return true;
    }

    void moveTo(off_t offset) {
        splitter.reset(); // `offset` starts a line: an LF there is the line's own
        if (blockOffset && offset >= *blockOffset &&
            (offset < *blockOffset + static_cast<off_t>(end) || exhausted)) {
            begin = std::min(static_cast<std::size_t>(offset - *blockOffset), end);
            return;
        }
        blockOffset = offset;
        nextBlockOffset = offset;
        begin = end = 0;
        exhausted = false;
    }

    // Steps over the CR at `crAt` and the LF that may belong to it.
    void passLineEnd(const char* cr) {
        begin = splitter.pastLineEnd(cr, block.get() + end) - block.get();
    }

    const char* findLineEnd() { return LineSplitter::lineEnd(position(), block.get() + end); }

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
                passLineEnd(lineEnd);
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
};

LineReader::LineReader(const std::string& path) : impl_(std::make_unique<Impl>()) {
    impl_->owned = openStageFile(path, O_RDONLY);
    impl_->readFrom(impl_->owned.get());
}

LineReader::LineReader(int borrowedFd) : impl_(std::make_unique<Impl>()) {
    impl_->readFrom(borrowedFd);
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

bool LineReader::readRawBlock(std::string_view& block) {
    if (!impl_->fill()) {
        block = {};
        return false;
    }
    block = std::string_view(impl_->position(), impl_->unread());
    impl_->begin = impl_->end;
    return true;
}

void LineReader::moveTo(off_t offset) {
    impl_->moveTo(offset);
}

bool LineReader::atEnd() {
    return !impl_->fill();
}

bool LineReader::hasBytesAfterEndMark() const {
    return impl_->bytesAfterEndMark;
}

} // namespace krelwin
