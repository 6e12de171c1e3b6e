#include "fuzz_support.h"

#include "line_reader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fuzzing {

const std::string& scratchFile() {
    static const std::string path = [] {
        fs::path folder = fs::temp_directory_path() / ("krelwin-fuzz-" + std::to_string(getpid()));
        fs::create_directories(folder);
        return (folder / "etapy.map").string();
    }();
    return path;
}

void writeBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    krelwin::LineReader reader(path);
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    return lines;
}

bool scratchFolderHoldsOnlyTheStageFile() {
    fs::path folder = fs::path(scratchFile()).parent_path();
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != fs::path(scratchFile()).filename())
            return false;
    return true;
}

} // namespace fuzzing
