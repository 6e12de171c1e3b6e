#include "fuzz_support.h"

#include "line_reader.h"

namespace fuzzing {

namespace {

constexpr const char* Folder = "/krelwin-fuzz-in-memory";

} // namespace

ScratchStageFile::ScratchStageFile()
    : path_(std::string(Folder) + "/etapy.map"), files_(Folder), inForce_(files_) {}

void ScratchStageFile::write(const uint8_t* data, size_t size) {
    files_.setContents(path_, std::string(reinterpret_cast<const char*>(data), size));
}

std::string ScratchStageFile::read() const {
    const std::string* bytes = files_.contents(path_);
    return bytes != nullptr ? *bytes : std::string();
}

bool ScratchStageFile::aloneAndClosed() const {
    return files_.namesIn(Folder) == std::vector<std::string>{"etapy.map"} && files_.allClosed();
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

} // namespace fuzzing
