#include "file_system.h"

#include "errors.h"
#include "leftover_backups.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace krelwin {

int SystemFileSystem::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t SystemFileSystem::read(int fd, void* buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}
ssize_t SystemFileSystem::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}
int SystemFileSystem::fsync(int fd) {
    return ::fsync(fd);
}
int SystemFileSystem::close(int fd) {
    return ::close(fd);
}
int SystemFileSystem::fstat(int fd, struct stat* status) {
    return ::fstat(fd, status);
}
int SystemFileSystem::stat(const char* path, struct stat* status) {
    return ::stat(path, status);
}
int SystemFileSystem::fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int SystemFileSystem::fchown(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
}
int SystemFileSystem::ftruncate(int fd, off_t length) {
    return ::ftruncate(fd, length);
}
off_t SystemFileSystem::lseek(int fd, off_t offset, int whence) {
    return ::lseek(fd, offset, whence);
}
int SystemFileSystem::mkdir(const char* path, mode_t mode) {
    return ::mkdir(path, mode);
}
int SystemFileSystem::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int SystemFileSystem::unlink(const char* path) {
    return ::unlink(path);
}
int SystemFileSystem::createTemporary(char* pathTemplate) {
    return ::mkostemp(pathTemplate, O_CLOEXEC);
}
int SystemFileSystem::flock(int fd, int operation) {
    return ::flock(fd, operation);
}
int SystemFileSystem::resolvePath(const char* path, std::string& resolved) {
    char* result = ::realpath(path, nullptr);
    if (result == nullptr) {
        return -1;
    }
    resolved = result;
    std::free(result);
    return 0;
}

int SystemFileSystem::listFolder(const char* path, std::vector<std::string>& names) {
    std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path), ::closedir);
    if (folder == nullptr) {
        return -1;
    }
    for (;;) {
        errno = 0; // readdir tells its end from its failure only by errno
        const dirent* entry = ::readdir(folder.get());
        if (entry == nullptr) {
            break;
        }
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    const int error = errno;
    folder.reset();
    errno = error;
    return error == 0 ? 0 : -1;
}

int SystemFileSystem::startWriteBack(int fd, off_t offset, off_t length) {
    return ::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE);
}

int FileSystem::startWriteBack(int, off_t, off_t) {
    return 0;
}

std::chrono::steady_clock::time_point FileSystem::now() {
    return std::chrono::steady_clock::now();
}

void FileSystem::pause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

namespace {

SystemFileSystem& systemFileSystem() {
    static SystemFileSystem instance;
    return instance;
}

FileSystem* current = nullptr;

} // namespace

FileSystem& fileSystem() {
    return current != nullptr ? *current : systemFileSystem();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : previous_(current) {
    current = &replacement;
}

ScopedFileSystem::~ScopedFileSystem() {
    current = previous_;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        fileSystem().close(fd_);
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            fileSystem().close(fd_);
        }
        fd_ = other.release();
    }
    return *this;
}

int FileDescriptor::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void FileDescriptor::close() {
    // The descriptor is gone whatever close says, so it is never closed twice.
    if (fileSystem().close(release()) != 0) {
        throw InOutError::fromErrno(errno);
    }
}

FileDescriptor openFile(const std::string& path, int flags, mode_t mode) {
    for (;;) {
        const int fd = fileSystem().open(path.c_str(), flags | O_CLOEXEC, mode);
        if (fd >= 0) {
            return FileDescriptor(fd);
        }
        if (errno != EINTR) {
            throw InOutError::fromErrno(errno);
        }
    }
}

std::size_t readSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = fileSystem().read(fd, buffer, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            throw InOutError::fromErrno(errno);
        }
    }
}

void writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t put = fileSystem().write(fd, data.data(), data.size());
        if (put > 0) {
            data.remove_prefix(static_cast<std::size_t>(put));
        } else if (put == 0) {
            // A write that makes no progress would loop for ever; the device takes no more.
            throw InOutError::fromErrno(ENOSPC);
        } else if (errno != EINTR) {
            throw InOutError::fromErrno(errno);
        }
    }
}

void syncFile(int fd) {
    if (fileSystem().fsync(fd) != 0) {
        throw InOutError::fromErrno(errno);
    }
}

void startWriteBack(int fd, off_t offset, off_t length) {
    if (fileSystem().startWriteBack(fd, offset, length) == 0) {
        return;
    }
    switch (errno) {
    case EINVAL:     // a file system without it (or a kernel that refuses the range)
    case ENOSYS:     // a kernel without the call
    case ESPIPE:     // not a regular file
    case EOPNOTSUPP: // a file system that says so
    case EINTR:      // nothing was lost; the fsync still waits for every byte
        return;
    default:
        // EIO, ENOSPC and the like: the bytes cannot reach the disk, as the fsync would say.
        throw InOutError::fromErrno(errno);
    }
}

struct stat statusOf(int fd) {
    struct stat status {};
    if (fileSystem().fstat(fd, &status) != 0) {
        throw InOutError::fromErrno(errno);
    }
    return status;
}

std::size_t readBlockSizeFor(int fd) {
    constexpr off_t Smallest = 4 * 1024;
    constexpr off_t Largest = 256 * 1024;
    return static_cast<std::size_t>(std::clamp(statusOf(fd).st_size, Smallest, Largest));
}

void seekToStart(int fd) {
    seekTo(fd, 0);
}

void seekTo(int fd, off_t offset) {
    if (fileSystem().lseek(fd, offset, SEEK_SET) != offset) {
        throw InOutError::fromErrno(errno);
    }
}

void truncateTo(int fd, off_t length) {
    while (fileSystem().ftruncate(fd, length) != 0) {
        if (errno != EINTR) {
            throw InOutError::fromErrno(errno);
        }
    }
}

off_t copyToEnd(int from, int to) {
    constexpr std::size_t BlockSize = 256 * 1024;
    const std::unique_ptr<char[]> block(new char[BlockSize]);
    off_t copied = 0;
    while (const std::size_t got = readSome(from, block.get(), BlockSize)) {
        writeAll(to, std::string_view(block.get(), got));
        copied += static_cast<off_t>(got);
    }
    return copied;
}

namespace {

// What other than a regular file or a folder stands there, in Polish; nothing for those two.
std::optional<std::string> specialFileKind(mode_t mode) {
    if (S_ISFIFO(mode)) {
        return "potokiem (FIFO)";
    }
    if (S_ISSOCK(mode)) {
        return "gniazdem (socket)";
    }
    if (S_ISCHR(mode)) {
        return "urządzeniem znakowym";
    }
    if (S_ISBLK(mode)) {
        return "urządzeniem blokowym";
    }
    if (!S_ISREG(mode) && !S_ISDIR(mode)) {
        return "plikiem specjalnym";
    }
    return std::nullopt;
}

void refuseSpecialFile(const std::string& path, mode_t mode) {
    if (const std::optional<std::string> kind = specialFileKind(mode)) {
        throw NotRegularFileMessage(path, *kind);
    }
}

} // namespace

void requireStageFile(const std::string& path) {
    struct stat status {};
    if (fileSystem().stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) {
        throw MissingFileMessage(path);
    }
    refuseSpecialFile(path, status.st_mode);
    noticeLeftoverBackups(path);
}

FileDescriptor openStageFile(const std::string& path, int flags, mode_t mode) {
    struct stat status {};
    if (fileSystem().stat(path.c_str(), &status) == 0) {
        refuseSpecialFile(path, status.st_mode);
    } else if (errno != ENOENT) {
        throw InOutError::fromErrno(errno);
    }
    // O_NONBLOCK keeps the open itself from waiting (a FIFO without a writer, a serial line
    // without a carrier) should a special file slip in after the look above; a regular file
    // ignores the flag, so reads and writes stay ordinary.
    FileDescriptor file = openFile(path, flags | O_NONBLOCK | O_NOCTTY, mode);
    refuseSpecialFile(path, statusOf(file.get()).st_mode);
    return file;
}

} // namespace krelwin
