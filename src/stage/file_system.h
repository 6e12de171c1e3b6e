// The one narrow door through which the core reaches the file system. Every system call the
// stage file operations make goes through `fileSystem()`, so a test can put a double in its
// place (ScopedFileSystem) and make any single call fail.
//
// The calls keep the POSIX contract: -1 (or nullptr-like failure) with errno set.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

namespace krelwin {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual int open(const char* path, int flags, mode_t mode) = 0;
    virtual ssize_t read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t write(int fd, const void* data, std::size_t size) = 0;
    virtual int fsync(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int fstat(int fd, struct stat* status) = 0;
    virtual int stat(const char* path, struct stat* status) = 0;
    virtual int fchmod(int fd, mode_t mode) = 0;
    virtual int fchown(int fd, uid_t owner, gid_t group) = 0;
    virtual int ftruncate(int fd, off_t length) = 0;
    virtual off_t lseek(int fd, off_t offset, int whence) = 0;
    virtual int mkdir(const char* path, mode_t mode) = 0;
    virtual int rename(const char* from, const char* to) = 0;
    virtual int unlink(const char* path) = 0;
    // mkstemp: creates and opens a new file from a template ending in "XXXXXX", which it
    // rewrites in place to the name it chose.
    virtual int createTemporary(char* pathTemplate) = 0;
    virtual int flock(int fd, int operation) = 0;
    // realpath: the absolute path with every symbolic link resolved; the path must exist.
    virtual int resolvePath(const char* path, std::string& resolved) = 0;
    // opendir/readdir: appends the names of the folder's entries, "." and ".." left out, in no
    // particular order. A failure part of the way keeps the names found before it.
    virtual int listFolder(const char* path, std::vector<std::string>& names) = 0;
    // sync_file_range(SYNC_FILE_RANGE_WRITE): starts writing a range of the file to the disk
    // without waiting for it, so that a later fsync has little left to wait for. Only a hint:
    // a file system that cannot start write-back early (as this default) simply does not.
    virtual int startWriteBack(int fd, off_t offset, off_t length);
    // The monotonic clock and a pause of the calling thread, which time the bounded wait for a
    // busy lock: a test can let seconds of that wait pass at once. These defaults are the real
    // ones.
    virtual std::chrono::steady_clock::time_point now();
    virtual void pause(std::chrono::milliseconds duration);
};

// The operating system itself.
class SystemFileSystem : public FileSystem {
public:
    int open(const char* path, int flags, mode_t mode) override;
    ssize_t read(int fd, void* buffer, std::size_t size) override;
    ssize_t write(int fd, const void* data, std::size_t size) override;
    int fsync(int fd) override;
    int close(int fd) override;
    int fstat(int fd, struct stat* status) override;
    int stat(const char* path, struct stat* status) override;
    int fchmod(int fd, mode_t mode) override;
    int fchown(int fd, uid_t owner, gid_t group) override;
    int ftruncate(int fd, off_t length) override;
    off_t lseek(int fd, off_t offset, int whence) override;
    int mkdir(const char* path, mode_t mode) override;
    int rename(const char* from, const char* to) override;
    int unlink(const char* path) override;
    int createTemporary(char* pathTemplate) override;
    int flock(int fd, int operation) override;
    int resolvePath(const char* path, std::string& resolved) override;
    int listFolder(const char* path, std::vector<std::string>& names) override;
    int startWriteBack(int fd, off_t offset, off_t length) override;
};

// The file system in force: the operating system unless a ScopedFileSystem says otherwise.
FileSystem& fileSystem();

// Puts a replacement in force for its own lifetime; nests.
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& replacement);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};

// An open file descriptor, closed when the owner goes. Closing through close() reports a
// failure; the destructor's close is for paths already failing and ignores it.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;

    int get() const { return fd_; }
    int release();
    // Closes and throws InOutError when the close fails.
    void close();

private:
    int fd_ = -1;
};

// Throwing helpers over fileSystem(); each raises InOutError from errno, retrying on EINTR.
FileDescriptor openFile(const std::string& path, int flags, mode_t mode = 0);
// Reads up to `size` bytes; 0 only at the physical end of the file.
std::size_t readSome(int fd, char* buffer, std::size_t size);
void writeAll(int fd, std::string_view data);
void syncFile(int fd);
// Starts write-back of the range; a file or system that does not offer it is no failure.
void startWriteBack(int fd, off_t offset, off_t length);
struct stat statusOf(int fd);
// The size of the blocks to read the open file in: the file's own size, within 4 KiB and
// 256 KiB, so that the usual stage file of a few kilobytes is not read into a quarter of a
// megabyte taken and given back for each read.
std::size_t readBlockSizeFor(int fd);
void seekToStart(int fd);
void seekTo(int fd, off_t offset);
void truncateTo(int fd, off_t length);
// Copies from `from`'s present offset to its end onto `to` at `to`'s present offset; returns
// how many bytes it copied.
off_t copyToEnd(int from, int to);

// A stage file is only ever a regular file. A FIFO, a socket or a device node, reached directly
// or through symbolic links, is refused with NotRegularFileMessage before it is opened (an open
// or read of one can block for ever), and once more on the opened descriptor in case something
// took the file's place in between. Folders are left to the open or the first read to report.
//
// For a read: throws MissingFileMessage when no file (or a folder) is at the path. Every read
// passes here, and so each tells of the backups that interrupted writes left (leftover_backups.h).
void requireStageFile(const std::string& path);
// Opens the stage file without ever blocking on the open itself; O_CLOEXEC is added. A path
// where nothing stands is left to the open (created with O_CREAT, else "File not found").
FileDescriptor openStageFile(const std::string& path, int flags, mode_t mode = 0);

} // namespace krelwin
