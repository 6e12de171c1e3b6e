#include "memory_file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>

namespace fuzzing {

namespace {

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

int fail(int error) {
    errno = error;
    return -1;
}

} // namespace

MemoryFileSystem::MemoryFileSystem(const std::string& root) {
    nodes_["/"] = makeNode(true, 0755);
    for (std::size_t slash = root.find('/', 1); slash != std::string::npos;
         slash = root.find('/', slash + 1)) {
        nodes_[root.substr(0, slash)] = makeNode(true, 0755);
    }
    nodes_[root] = makeNode(true, 0755);
}

const std::string* MemoryFileSystem::contents(const std::string& path) const {
    const std::shared_ptr<Node> node = find(path);
    return node != nullptr && !node->folder ? &node->bytes : nullptr;
}

void MemoryFileSystem::setContents(const std::string& path, std::string bytes) {
    std::shared_ptr<Node>& node = nodes_[path];
    if (node == nullptr) {
        node = makeNode(false, 0644);
    }
    node->bytes = std::move(bytes);
}

std::vector<std::string> MemoryFileSystem::namesIn(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& [path, node] : nodes_) {
        if (path != "/" && parentOf(path) == folder) {
            names.push_back(path.substr(path.rfind('/') + 1));
        }
    }
    return names; // the map keeps them sorted
}

std::shared_ptr<MemoryFileSystem::Node> MemoryFileSystem::makeNode(bool folder,
                                                                   mode_t permissions) {
    auto node = std::make_shared<Node>();
    node->folder = folder;
    node->inode = nextInode_++;
    node->permissions = permissions & 07777;
    return node;
}

std::shared_ptr<MemoryFileSystem::Node> MemoryFileSystem::find(const std::string& path) const {
    const auto found = nodes_.find(path);
    return found == nodes_.end() ? nullptr : found->second;
}

MemoryFileSystem::Descriptor* MemoryFileSystem::descriptor(int fd) {
    const auto found = descriptors_.find(fd);
    if (found == descriptors_.end()) {
        errno = EBADF;
        return nullptr;
    }
    return &found->second;
}

bool MemoryFileSystem::parentExists(const std::string& path) const {
    const std::shared_ptr<Node> parent = find(parentOf(path));
    if (parent == nullptr) {
        errno = ENOENT;
        return false;
    }
    if (!parent->folder) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

int MemoryFileSystem::openNode(std::shared_ptr<Node> node, bool writable) {
    const int fd = nextFd_++;
    descriptors_[fd] = Descriptor{std::move(node), 0, writable};
    return fd;
}

void MemoryFileSystem::describe(const Node& node, struct stat* status) {
    *status = {};
    status->st_dev = 1;
    status->st_ino = node.inode;
    status->st_mode = (node.folder ? S_IFDIR : S_IFREG) | node.permissions;
    status->st_nlink = node.folder ? 2 : 1;
    status->st_uid = node.owner;
    status->st_gid = node.group;
    status->st_size = static_cast<off_t>(node.bytes.size());
    status->st_blksize = 4096;
}

int MemoryFileSystem::open(const char* path, int flags, mode_t mode) {
    const bool writable = (flags & O_ACCMODE) != O_RDONLY;
    std::shared_ptr<Node> node = find(path);
    if (node == nullptr) {
        if ((flags & O_CREAT) == 0) {
            return fail(ENOENT);
        }
        if (!parentExists(path)) {
            return -1;
        }
        node = makeNode(false, mode & ~mode_t{022});
        nodes_[path] = node;
    } else if ((flags & O_CREAT) != 0 && (flags & O_EXCL) != 0) {
        return fail(EEXIST);
    }
    if (node->folder && writable) {
        return fail(EISDIR);
    }
    if ((flags & O_DIRECTORY) != 0 && !node->folder) {
        return fail(ENOTDIR);
    }
    if ((flags & O_TRUNC) != 0 && writable) {
        node->bytes.clear();
    }
    return openNode(node, writable);
}

ssize_t MemoryFileSystem::read(int fd, void* buffer, std::size_t size) {
    Descriptor* open = descriptor(fd);
    if (open == nullptr) {
        return -1;
    }
    if (open->node->folder) {
        return fail(EISDIR);
    }
    const std::string& bytes = open->node->bytes;
    const std::size_t at = static_cast<std::size_t>(open->offset);
    const std::size_t count = at < bytes.size() ? std::min(size, bytes.size() - at) : 0;
    std::memcpy(buffer, bytes.data() + at, count);
    open->offset += static_cast<off_t>(count);
    return static_cast<ssize_t>(count);
}

ssize_t MemoryFileSystem::write(int fd, const void* data, std::size_t size) {
    Descriptor* open = descriptor(fd);
    if (open == nullptr) {
        return -1;
    }
    if (!open->writable) {
        return fail(EBADF);
    }
    std::string& bytes = open->node->bytes;
    const std::size_t at = static_cast<std::size_t>(open->offset);
    if (bytes.size() < at + size) {
        bytes.resize(at + size); // a write past the end leaves a hole of zero bytes
    }
    bytes.replace(at, size, static_cast<const char*>(data), size);
    open->offset += static_cast<off_t>(size);
    return static_cast<ssize_t>(size);
}

int MemoryFileSystem::fsync(int fd) {
    return descriptor(fd) != nullptr ? 0 : -1;
}

int MemoryFileSystem::close(int fd) {
    return descriptors_.erase(fd) == 1 ? 0 : fail(EBADF);
}

int MemoryFileSystem::fstat(int fd, struct stat* status) {
    const Descriptor* open = descriptor(fd);
    if (open == nullptr) {
        return -1;
    }
    describe(*open->node, status);
    return 0;
}

int MemoryFileSystem::stat(const char* path, struct stat* status) {
    const std::shared_ptr<Node> node = find(path);
    if (node == nullptr) {
        return fail(ENOENT);
    }
    describe(*node, status);
    return 0;
}

int MemoryFileSystem::fchmod(int fd, mode_t mode) {
    Descriptor* open = descriptor(fd);
    if (open == nullptr) {
        return -1;
    }
    open->node->permissions = mode & 07777;
    return 0;
}

int MemoryFileSystem::fchown(int fd, uid_t owner, gid_t group) {
    Descriptor* open = descriptor(fd);
    if (open == nullptr) {
        return -1;
    }
    open->node->owner = owner;
    open->node->group = group;
    return 0;
}

int MemoryFileSystem::ftruncate(int fd, off_t length) {
    Descriptor* open = descriptor(fd);
    if (open == nullptr) {
        return -1;
    }
    if (!open->writable || length < 0) {
        return fail(EINVAL);
    }
    open->node->bytes.resize(static_cast<std::size_t>(length));
    return 0;
}

off_t MemoryFileSystem::lseek(int fd, off_t offset, int whence) {
    Descriptor* open = descriptor(fd);
    if (open == nullptr) {
        return -1;
    }
    off_t base = 0;
    if (whence == SEEK_CUR) {
        base = open->offset;
    } else if (whence == SEEK_END) {
        base = static_cast<off_t>(open->node->bytes.size());
    } else if (whence != SEEK_SET) {
        return fail(EINVAL);
    }
    if (base + offset < 0) {
        return fail(EINVAL);
    }
    open->offset = base + offset;
    return open->offset;
}

int MemoryFileSystem::mkdir(const char* path, mode_t mode) {
    if (find(path) != nullptr) {
        return fail(EEXIST);
    }
    if (!parentExists(path)) {
        return -1;
    }
    nodes_[path] = makeNode(true, mode);
    return 0;
}

int MemoryFileSystem::rename(const char* from, const char* to) {
    const std::shared_ptr<Node> node = find(from);
    if (node == nullptr) {
        return fail(ENOENT);
    }
    if (!parentExists(to)) {
        return -1;
    }
    const std::shared_ptr<Node> replaced = find(to);
    if (replaced == node) {
        return 0;
    }
    if (replaced != nullptr && replaced->folder != node->folder) {
        return fail(node->folder ? ENOTDIR : EISDIR);
    }
    nodes_[to] = node;
    nodes_.erase(from);
    return 0;
}

int MemoryFileSystem::unlink(const char* path) {
    const std::shared_ptr<Node> node = find(path);
    if (node == nullptr) {
        return fail(ENOENT);
    }
    if (node->folder) {
        return fail(EISDIR);
    }
    nodes_.erase(path);
    return 0;
}

int MemoryFileSystem::createTemporary(char* pathTemplate) {
    constexpr std::string_view Unique = "XXXXXX";
    constexpr std::string_view Letters = "0123456789abcdefghijklmnopqrstuvwxyz";
    const std::size_t length = std::strlen(pathTemplate);
    if (!std::string_view(pathTemplate, length).ends_with(Unique)) {
        return fail(EINVAL);
    }
    if (!parentExists(pathTemplate)) {
        return -1;
    }
    do {
        unsigned long number = temporaryCount_++;
        for (std::size_t i = length - Unique.size(); i < length; ++i) {
            pathTemplate[i] = Letters[number % Letters.size()];
            number /= Letters.size();
        }
    } while (find(pathTemplate) != nullptr);
    std::shared_ptr<Node> node = makeNode(false, 0600);
    nodes_[pathTemplate] = node;
    return openNode(std::move(node), true);
}

int MemoryFileSystem::flock(int fd, int) {
    return descriptor(fd) != nullptr ? 0 : -1;
}

int MemoryFileSystem::resolvePath(const char* path, std::string& resolved) {
    if (find(path) == nullptr) {
        return fail(ENOENT);
    }
    resolved = path;
    return 0;
}

int MemoryFileSystem::listFolder(const char* path, std::vector<std::string>& names) {
    const std::shared_ptr<Node> node = find(path);
    if (node == nullptr) {
        return fail(ENOENT);
    }
    if (!node->folder) {
        return fail(ENOTDIR);
    }
    const std::vector<std::string> found = namesIn(path);
    names.insert(names.end(), found.begin(), found.end());
    return 0;
}

} // namespace fuzzing
