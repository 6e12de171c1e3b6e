// Shared pieces of the fuzz targets: a stage file in memory and the lines of a file.
#pragma once

#include "memory_file_system.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzing {

// The stage file of one input, alone in its folder in a file system held in memory, which is in
// force for the stage file operations while this lives. Each input starts from a fresh one.
//
// The writers' sweep for temporary files left by killed writers lists this folder in memory too,
// and finds none: every write takes its own temporary file away.
class ScratchStageFile {
public:
    ScratchStageFile();

    const std::string& path() const { return path_; }
    void write(const uint8_t* data, size_t size);
    std::string read() const;
    // Nothing beside the stage file (a temporary file left would be a leak), and no descriptor
    // left open.
    bool aloneAndClosed() const;

private:
    const std::string path_;
    MemoryFileSystem files_;
    krelwin::ScopedFileSystem inForce_;
};

// The lines of the file as the stage file reader sees them.
std::vector<std::string> readLines(const std::string& path);
// The same lines, split byte by byte straight from the text conventions, without the reader: a
// line ends at CR (an LF right after it belongs to the line end), the text ends at its first
// byte 26, and a line end at the very end gives no extra empty line.
std::vector<std::string> referenceLines(const std::string& bytes);
// What list mode must yield for these lines: at most 100 names, each the line before a "}" line
// that has a line after it, without its first and last characters.
std::vector<std::string> referenceNames(const std::vector<std::string>& lines);

} // namespace fuzzing
