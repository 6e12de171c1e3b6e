#include "safe_write.h"

#include "errors.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <vector>

namespace krelwin {

namespace {

constexpr std::size_t WriteBlockSize = 256 * 1024;
// A piece at least this large is not worth copying into the buffer first.
constexpr std::size_t DirectWriteSize = WriteBlockSize / 2;
// The disk starts on every this many bytes written, so that the fsync before the rename finds
// most of a large file already on its way instead of all of it still in memory.
constexpr off_t WriteBackStep = 4 * 1024 * 1024;
// Another writer can replace the file between our open and our lock; each time that happens we
// start over. Only a file replaced thousands of times in a row stops the write.
constexpr int MaxLockAttempts = 1000;
constexpr mode_t PermissionBits = 07777;

void lockExclusively(int fd) {
    while (fileSystem().flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            throw InOutError::fromErrno(errno);
        }
    }
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

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

// The temporary file of a stage file is named ".NAME.krelwin-" and six letters or digits, the
// part mkstemp fills in; nothing else beside the stage file is ever taken for one.
constexpr std::string_view TemporaryMark = ".krelwin-";
constexpr std::size_t UniquePartLength = 6;

std::string temporaryPrefix(const std::string& stageFile) {
    return "." + baseNameOf(stageFile) + std::string(TemporaryMark);
}

bool isTemporaryFileName(const std::string& name, const std::string& prefix) {
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

} // namespace

SafeWrite::SafeWrite(const std::string& path, IfMissing ifMissing) {
    pending_.reserve(WriteBlockSize);
    lockStageFile(path, ifMissing);
    removeStaleTemporaryFiles();
    createTemporaryFile();
}

SafeWrite::TemporaryFile::~TemporaryFile() {
    if (!renamed && !path.empty()) {
        fd = FileDescriptor();
        fileSystem().unlink(path.c_str());
    }
}

void SafeWrite::lockStageFile(const std::string& path, IfMissing ifMissing) {
    const int creation = ifMissing == IfMissing::Create ? O_CREAT : 0;
    for (int attempt = 1;; ++attempt) {
        // Opened for writing although it is only read: a file the user may not change is
        // refused here, as a copy over it would be, rather than silently renamed over.
        FileDescriptor stage = openFile(path, O_RDWR | creation, 0666);
        lockExclusively(stage.get());
        // While we waited for the lock another writer may have renamed a new file over the
        // path; the file we hold is then no longer the stage file and we must start over.
        std::string target;
        struct stat named {};
        const bool found = fileSystem().resolvePath(path.c_str(), target) == 0 &&
                           fileSystem().stat(target.c_str(), &named) == 0;
        if (!found && errno != ENOENT) {
            throw InOutError::fromErrno(errno);
        }
        const struct stat held = statusOf(stage.get());
        if (found && sameFile(named, held)) {
            stage_ = std::move(stage);
            stageMode_ = held.st_mode & PermissionBits;
            target_ = std::move(target);
            return;
        }
        if (attempt == MaxLockAttempts) {
            throw InOutError::fromErrno(EAGAIN);
        }
    }
}

void SafeWrite::removeStaleTemporaryFiles() {
    // A writer that was killed (or lost its power) leaves its temporary file behind. Every
    // writer makes its own only while it holds the lock on the stage file, which we now hold,
    // so any such file still there belongs to a writer that is gone. Clearing them is a
    // courtesy: a failure to look or to remove one never stops the write.
    namespace fs = std::filesystem;
    const std::string prefix = temporaryPrefix(target_);
    std::error_code error;
    std::vector<std::string> stale;
    for (fs::directory_iterator entry(folderOf(target_), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (isTemporaryFileName(name, prefix) && entry->is_regular_file(error)) {
            stale.push_back(entry->path().string());
        }
    }
    for (const std::string& path : stale) {
        fileSystem().unlink(path.c_str());
    }
}

void SafeWrite::createTemporaryFile() {
    // Hidden, beside the stage file (so the rename never crosses file systems), and unique, so
    // that neither another writer nor a leftover of a crashed one is ever in the way.
    std::string pattern = folderOf(target_) + "/" + temporaryPrefix(target_) + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = fileSystem().createTemporary(name.data());
    if (fd < 0) {
        throw InOutError::fromErrno(errno);
    }
    temporary_.fd = FileDescriptor(fd);
    temporary_.path = name.data();
    if (fileSystem().fchmod(temporary_.fd.get(), stageMode_) != 0) {
        throw InOutError::fromErrno(errno);
    }
}

void SafeWrite::write(std::string_view bytes) {
    if (pending_.size() + bytes.size() > WriteBlockSize) {
        flush();
    }
    if (pending_.empty() && bytes.size() >= DirectWriteSize) {
        writeThrough(bytes);
        return;
    }
    pending_ += bytes;
}

void SafeWrite::flush() {
    writeThrough(pending_);
    pending_.clear();
}

void SafeWrite::writeThrough(std::string_view bytes) {
    writeAll(temporary_.fd.get(), bytes);
    written_ += static_cast<off_t>(bytes.size());
    if (written_ - writeBackStart_ >= WriteBackStep) {
        startWriteBack(temporary_.fd.get(), writeBackStart_, written_ - writeBackStart_);
        writeBackStart_ = written_;
    }
}

void SafeWrite::commit() {
    flush();
    syncFile(temporary_.fd.get());
    temporary_.fd.close();
    if (fileSystem().rename(temporary_.path.c_str(), target_.c_str()) != 0) {
        throw InOutError::fromErrno(errno);
    }
    temporary_.renamed = true;
    syncFolder();
}

void SafeWrite::syncFolder() {
    // Makes the rename itself durable. The new content is already in place, so a folder that
    // cannot be synced (some file systems refuse) is no reason to report the write as failed.
    const int fd =
        fileSystem().open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd >= 0) {
        fileSystem().fsync(fd);
        fileSystem().close(fd);
    }
}

} // namespace krelwin
