// Shared pieces of the fuzz targets: a scratch stage file and the lines of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzing {

// A stage file path in a private scratch folder, the same for every run of one process.
const std::string& scratchFile();
void writeBytes(const std::string& path, const uint8_t* data, size_t size);
std::string readBytes(const std::string& path);
// The lines of the file as the stage file reader sees them.
std::vector<std::string> readLines(const std::string& path);
// The same lines, split byte by byte straight from the text conventions, without the reader: a
// line ends at CR (an LF right after it belongs to the line end), the text ends at its first
// byte 26, and a line end at the very end gives no extra empty line.
std::vector<std::string> referenceLines(const std::string& bytes);
// What list mode must yield for these lines: at most 100 names, each the line before a "}" line
// that has a line after it, without its first and last characters.
std::vector<std::string> referenceNames(const std::vector<std::string>& lines);
// Any byte leftover in the scratch folder other than the stage file is a leaked temporary file.
bool scratchFolderHoldsOnlyTheStageFile();

} // namespace fuzzing
