// Reads a stage file line by line under the file's line-end rule (line_splitter.h):
//  - a last line without a line end is read like any other; a line end at the very end of the
//    file gives no extra empty line;
//  - lines of any length are read whole; reading past the end gives empty lines, no error.
//
// The file is read in large blocks through the file layer (file_system.h), so a stage file of
// many megabytes is scanned at close to the speed of a plain read.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace krelwin {

class LineReader {
public:
    // Opens the file for reading; throws InOutError when it cannot, NotRegularFileMessage for a
    // FIFO, socket or device (see openStageFile).
    explicit LineReader(const std::string& path);
    // Reads from a descriptor that stays the caller's, from its current offset.
    explicit LineReader(int borrowedFd);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line end. Returns false (and an empty line) once the file has
    // ended. Throws InOutError on a read failure. A long line is moved into `line`, not copied.
    bool readLine(std::string& line);
    // The same, as a view that stays valid only until the next call on this reader.
    bool readLineView(std::string_view& line);
    // The next block of the file's bytes exactly as stored (line ends untouched), at most up
    // to the end mark; false once the file has ended. The view lives until the next call.
    bool readRawBlock(std::string_view& block);
    // Goes on reading from the line that starts at byte `offset` of the file, an offset a walk
    // over this file's lines found. From then on every block is read from where this reader
    // stands, so the descriptor may be shared with a walk that moves it. Within the block in
    // hand, nothing is read again. Throws InOutError when the descriptor cannot be moved.
    void moveTo(off_t offset);
    // True once every line has been read.
    bool atEnd();
    // After the end: whether the file held a byte 26 with further bytes after it.
    bool hasBytesAfterEndMark() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace krelwin
