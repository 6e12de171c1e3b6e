#include "fuzz_support.h"

#include "line_reader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fuzzing {

namespace {

// A memory-backed folder where there is one: every write syncs its file, and on a disk that
// sync, not the code under test, would set the pace of the fuzzing.
fs::path scratchRoot() {
    std::error_code error;
    if (const char* chosen = std::getenv("KRELWIN_FUZZ_TMPDIR"))
        return chosen;
    if (fs::is_directory("/dev/shm", error))
        return "/dev/shm";
    return fs::temp_directory_path();
}

fs::path& scratchFolder() {
    static fs::path folder = [] {
        fs::path made = scratchRoot() / ("krelwin-fuzz-" + std::to_string(getpid()));
        fs::create_directories(made);
        return made;
    }();
    // Registered once the folder is made, so that it runs before the folder's path is destroyed.
    static const bool removedAtExit = std::atexit([] {
                                          std::error_code ignored;
                                          fs::remove_all(scratchFolder(), ignored);
                                      }) == 0;
    (void)removedAtExit;
    return folder;
}

} // namespace

const std::string& scratchFile() {
    static const std::string path = (scratchFolder() / "etapy.map").string();
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

std::vector<std::string> referenceLines(const std::string& bytes) {
    const std::string text = bytes.substr(0, bytes.find('\x1a'));
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            line += text[i];
            continue;
        }
        lines.push_back(line);
        line.clear();
        if (i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    if (!line.empty()) // bytes after the last line end: an unended last line
        lines.push_back(line);
    return lines;
}

std::vector<std::string> referenceNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    size_t next = 0;
    for (int repetition = 0; repetition < 100 && next < lines.size(); ++repetition) {
        std::string remembered;
        bool braceLineRead = false;
        while (next < lines.size()) {
            const std::string& line = lines[next++];
            if (line.find('}') != std::string::npos) {
                braceLineRead = true;
                break;
            }
            remembered = line;
        }
        if (braceLineRead && next < lines.size())
            names.push_back(remembered.size() <= 2 ? std::string()
                                                   : remembered.substr(1, remembered.size() - 2));
    }
    return names;
}

bool scratchFolderHoldsOnlyTheStageFile() {
    fs::path folder = fs::path(scratchFile()).parent_path();
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != fs::path(scratchFile()).filename())
            return false;
    return true;
}

} // namespace fuzzing
