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
// Any byte leftover in the scratch folder other than the stage file is a leaked temporary file.
bool scratchFolderHoldsOnlyTheStageFile();

} // namespace fuzzing
