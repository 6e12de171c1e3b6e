#include "side_files.h"

#include "errors.h"
#include "file_system.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace krelwin {

namespace {

constexpr std::size_t NameLimit = 255;
constexpr char HashMark = '~';
constexpr std::size_t HashLength = 16;

// FNV-1a: small, stable across runs and machines, and plenty to tell two names apart.
uint64_t nameHash(std::string_view text) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool isUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string hexHash(std::string_view text) {
    char hash[HashLength + 1];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(nameHash(text)));
    return hash;
}

// The name itself when it fits in `room` bytes; otherwise its start, cut between two UTF-8
// characters, with "~" and the whole name's hash after it.
std::string fittedName(const std::string& name, std::size_t room) {
    if (name.size() <= room) {
        return name;
    }
    std::size_t keep = room - 1 - HashLength;
    while (keep > 0 && isUtf8Continuation(name[keep])) {
        --keep;
    }
    return name.substr(0, keep) + HashMark + hexHash(name);
}

void makeFolder(const std::string& path) {
    if (fileSystem().mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        throw InOutError::fromErrno(errno);
    }
}

} // namespace

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string sideFilePrefix(const std::string& stageFile, std::string_view mark) {
    const std::size_t room = NameLimit - 1 - mark.size() - UniquePartLength;
    return "." + fittedName(baseNameOf(stageFile), room) + std::string(mark);
}

std::string cacheSideFilePrefix(const std::string& stageFile, std::string_view mark) {
    const std::size_t room = NameLimit - mark.size() - UniquePartLength - 1 - HashLength;
    return fittedName(baseNameOf(stageFile), room) + HashMark + hexHash(stageFile) +
           std::string(mark);
}

bool isSideFileName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + UniquePartLength || !name.starts_with(prefix)) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) {
            return false;
        }
    }
    return true;
}

std::string uniquePartOf(const std::string& sideFile) {
    return sideFile.substr(sideFile.size() - std::min(sideFile.size(), UniquePartLength));
}

namespace {

// The folder that holds the program's cache folder.
std::string cacheBase() {
    // A relative XDG_CACHE_HOME is ignored, as every desktop program does with it.
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    if (cacheHome != nullptr && cacheHome[0] == '/') {
        return cacheHome;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        throw InOutError::fromErrno(ENOENT);
    }
    return std::string(home) + "/.cache";
}

} // namespace

std::string cacheFolderPath() {
    return cacheBase() + "/krelwin-konstruktor";
}

std::string cacheFolder() {
    makeFolder(cacheBase());
    const std::string folder = cacheFolderPath();
    makeFolder(folder);
    return folder;
}

} // namespace krelwin
