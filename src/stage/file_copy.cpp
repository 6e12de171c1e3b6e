#include "file_copy.h"

#include "file_system.h"
#include "safe_write.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>

namespace krelwin {

void copyWholeFile(const std::string& from, const std::string& to) {
    constexpr std::size_t BlockSize = 256 * 1024;
    const FileDescriptor source = openStageFile(from, O_RDONLY);
    SafeWrite out(to, SafeWrite::IfMissing::Create);
    const std::unique_ptr<char[]> block(new char[BlockSize]);
    while (const std::size_t got = readSome(source.get(), block.get(), BlockSize)) {
        out.write(std::string_view(block.get(), got));
    }
    out.commit();
}

void writeWholeFile(const std::string& path, std::string_view bytes) {
    struct stat status {};
    const bool existed = fileSystem().stat(path.c_str(), &status) == 0 || errno != ENOENT;
    try {
        SafeWrite out(path, SafeWrite::IfMissing::Create);
        out.write(bytes);
        out.commit();
    } catch (...) {
        if (!existed) {
            fileSystem().unlink(path.c_str());
        }
        throw;
    }
}

} // namespace krelwin
