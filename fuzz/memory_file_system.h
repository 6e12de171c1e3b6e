// A file system held in memory for the fuzz targets: the stage file operations run on it through
// the same FileSystem door as on the disk, thousands of times a second, with no file to sync.
//
// It keeps the POSIX contract the core relies on (paths, descriptors with their own offsets,
// renames over a file, errno on failure) and nothing more: one user, no permissions, no links,
// no locks to wait for, and sync calls that return at once.
#pragma once

#include "file_system.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fuzzing {

class MemoryFileSystem : public krelwin::FileSystem {
public:
    // Starts with the folder `root` (an absolute path) and its parents.
    explicit MemoryFileSystem(const std::string& root);

    // The whole content of a file, or nothing when no file is at the path.
    const std::string* contents(const std::string& path) const;
    void setContents(const std::string& path, std::string bytes);
    // The names in a folder, sorted.
    std::vector<std::string> namesIn(const std::string& folder) const;
    // No descriptor is left open.
    bool allClosed() const { return descriptors_.empty(); }

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

private:
    struct Node {
        bool folder = false;
        ino_t inode = 0;
        mode_t permissions = 0644;
        uid_t owner = 0;
        gid_t group = 0;
        std::string bytes;
    };
    struct Descriptor {
        std::shared_ptr<Node> node;
        off_t offset = 0;
        bool writable = false;
    };

    std::shared_ptr<Node> makeNode(bool folder, mode_t permissions);
    std::shared_ptr<Node> find(const std::string& path) const;
    // The open descriptor's state, or nullptr with errno EBADF.
    Descriptor* descriptor(int fd);
    // Whether the folder that would hold `path` exists; sets errno as a system call would.
    bool parentExists(const std::string& path) const;
    int openNode(std::shared_ptr<Node> node, bool writable);
    static void describe(const Node& node, struct stat* status);

    std::map<std::string, std::shared_ptr<Node>> nodes_;
    std::map<int, Descriptor> descriptors_;
    ino_t nextInode_ = 1;
    int nextFd_ = 1000; // far from any descriptor the process really has
    unsigned long temporaryCount_ = 0;
};

} // namespace fuzzing
