#include "safe_write.h"

#include "errors.h"
#include "file_lock.h"
#include "leftover_backups.h"
#include "side_files.h"

#include <cerrno>
#include <fcntl.h>
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

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// mkstemp on "PREFIX" + "XXXXXX" in `folder`; the name it chose goes into `path`.
int createUnique(const std::string& folder, const std::string& prefix, std::string& path) {
    const std::string pattern = folder + "/" + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = fileSystem().createTemporary(name.data());
    if (fd >= 0) {
        path = name.data();
    }
    return fd;
}

} // namespace

SafeWrite::SafeWrite(const std::string& path, IfMissing ifMissing) : path_(path) {
    lockStageFile(path, ifMissing);
    lookAtSideFiles();
    prepareOutput();
}

SafeWrite::OwnFile::~OwnFile() {
    fd = FileDescriptor();
    if (!path.empty()) {
        fileSystem().unlink(path.c_str());
    }
}

void SafeWrite::lockStageFile(const std::string& path, IfMissing ifMissing) {
    const int creation = ifMissing == IfMissing::Create ? O_CREAT : 0;
    const auto deadline = lockDeadlineFromNow();
    for (int attempt = 1;; ++attempt) {
        // Opened for writing although it is only read: a file the user may not change is
        // refused here, as a copy over it would be, rather than silently renamed over.
        FileDescriptor stage = openStageFile(path, O_RDWR | creation, 0666);
        lockExclusivelyBefore(stage.get(), path, deadline);
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
            stageStatus_ = held;
            target_ = std::move(target);
            return;
        }
        if (attempt == MaxLockAttempts) {
            throw InOutError::fromErrno(EAGAIN);
        }
    }
}

namespace {

// The names of the regular files in `folder` that may be side files (temporary files and
// backups) of some stage file. A folder that cannot be listed, wholly or in part, has fewer
// names to offer: the look is only housekeeping and a word to the user, and a later one looks
// again.
std::vector<std::string> possibleSideFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    fileSystem().listFolder(folder.c_str(), names);
    std::erase_if(names, [&](const std::string& name) {
        struct stat status {};
        return name.find(TemporaryMark) == std::string::npos ||
               fileSystem().stat((folder + "/" + name).c_str(), &status) != 0 ||
               !S_ISREG(status.st_mode);
    });
    return names;
}

thread_local OneListingPerFolder* activeListings = nullptr;

} // namespace

OneListingPerFolder::OneListingPerFolder() : outer_(activeListings) {
    activeListings = this;
}

OneListingPerFolder::~OneListingPerFolder() {
    activeListings = outer_;
}

std::vector<std::string>& OneListingPerFolder::namesIn(const std::string& folder) {
    const auto found = listings_.find(folder);
    if (found != listings_.end()) {
        return found->second;
    }
    return listings_.emplace(folder, possibleSideFilesIn(folder)).first->second;
}

std::vector<std::string>& SafeWrite::sideFilesIn(const std::string& folder,
                                                 std::vector<std::string>& listedNow) {
    return activeListings ? activeListings->namesIn(folder)
                          : (listedNow = possibleSideFilesIn(folder));
}

void SafeWrite::lookAtSideFiles() {
    // A writer that was killed (or lost its power) leaves its side files behind. Every writer
    // makes its own only while it holds the lock on the stage file, which we now hold, so any
    // still there belong to a writer that is gone: its backup is told of, and its temporary
    // file removed.
    const std::string folder = folderOf(target_);
    std::vector<std::string> listedBeside;
    std::vector<std::string>& beside = sideFilesIn(folder, listedBeside);
    std::vector<std::string> listedInCache;
    std::vector<std::string> noCache;
    std::vector<std::string>* inCache = &noCache;
    try {
        inCache = &sideFilesIn(cacheFolderPath(), listedInCache);
    } catch (const InOutError&) {
        // No home folder, so no cache folder to look in.
    }
    tellLeftoverBackups(path_, backupsAmong(target_, beside, *inCache));
    removeStaleTemporaryFiles(folder, beside);
}

void SafeWrite::removeStaleTemporaryFiles(const std::string& folder,
                                          std::vector<std::string>& names) {
    // Clearing them is a courtesy: a failure to remove one never stops the write. Backup copies
    // are never taken for one: they may hold the only whole copy of a stage file.
    const std::string prefix = sideFilePrefix(target_, TemporaryMark);
    std::erase_if(names, [&](const std::string& name) {
        if (!isSideFileName(name, prefix)) {
            return false;
        }
        fileSystem().unlink((folder + "/" + name).c_str());
        return true;
    });
}

void SafeWrite::prepareOutput() {
    // Hidden, beside the stage file (so the rename never crosses file systems), and unique, so
    // that neither another writer nor a leftover of a crashed one is ever in the way.
    if (!createBeside(output_, TemporaryMark)) {
        inPlace_ = true; // a writable file in a folder closed to us
        startScratchInCache();
        return;
    }
    folderWritable_ = true;
    if (stageStatus_.st_nlink > 1 || !giveOwnerAndGroup(output_.fd.get())) {
        inPlace_ = true; // the temporary file only gathers the new content
        return;
    }
    if (fileSystem().fchmod(output_.fd.get(), stageStatus_.st_mode & PermissionBits) != 0) {
        throw InOutError::fromErrno(errno);
    }
}

bool SafeWrite::createBeside(OwnFile& file, std::string_view mark) {
    std::string path;
    const int fd = createUnique(folderOf(target_), sideFilePrefix(target_, mark), path);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM) {
            return false;
        }
        throw InOutError::fromErrno(errno);
    }
    file.fd = FileDescriptor(fd);
    file.path = std::move(path);
    return true;
}

bool SafeWrite::giveOwnerAndGroup(int fd) {
    const struct stat made = statusOf(fd);
    if (made.st_uid == stageStatus_.st_uid && made.st_gid == stageStatus_.st_gid) {
        return true;
    }
    if (fileSystem().fchown(fd, stageStatus_.st_uid, stageStatus_.st_gid) == 0) {
        return true;
    }
    // Not ours to give (another user's file, a group we are not in), or an id this file
    // system cannot hold.
    if (errno == EPERM || errno == EINVAL) {
        return false;
    }
    throw InOutError::fromErrno(errno);
}

void SafeWrite::startScratchInCache() {
    std::string path;
    const int fd = createUnique(cacheFolder(), cacheSideFilePrefix(target_, TemporaryMark), path);
    if (fd < 0) {
        throw InOutError::fromErrno(errno);
    }
    output_.fd = FileDescriptor(fd);
    output_.path = std::move(path);
    // The scratch copy goes nameless at once; it lives as long as its descriptor.
    if (fileSystem().unlink(output_.path.c_str()) == 0) {
        output_.forget();
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
    writeAll(output_.fd.get(), bytes);
    written_ += static_cast<off_t>(bytes.size());
    // A scratch copy is read back at once and never needs the disk.
    if (!inPlace_ && written_ - writeBackStart_ >= WriteBackStep) {
        startWriteBack(output_.fd.get(), writeBackStart_, written_ - writeBackStart_);
        writeBackStart_ = written_;
    }
}

void SafeWrite::commit() {
    flush();
    if (inPlace_) {
        commitInPlace();
    } else {
        commitByRename();
    }
}

void SafeWrite::commitByRename() {
    syncFile(output_.fd.get());
    output_.fd.close();
    if (fileSystem().rename(output_.path.c_str(), target_.c_str()) != 0) {
        throw InOutError::fromErrno(errno);
    }
    output_.forget();
    syncFolder(folderOf(target_));
}

void SafeWrite::commitInPlace() {
    OwnFile backup;
    makeBackup(backup);
    try {
        copyNewContentIn();
    } catch (const InOutError& failure) {
        if (restoreFrom(backup)) {
            throw; // the file is as it was; the backup goes
        }
        const std::string kept = backup.path;
        backup.forget();
        throw BackupKeptMessage(path_, kept, failure.what());
    }
}

void SafeWrite::makeBackup(OwnFile& backup) {
    // The copy is made under a temporary file's name and takes the backup's name only once it
    // is whole and on the disk, so that whatever stands under a backup's name holds the old
    // content whole. Killed before, a writer leaves a temporary file, which the next one clears.
    OwnFile copy;
    std::string backupPrefix;
    if (folderWritable_ && createBeside(copy, TemporaryMark)) {
        backupPrefix = sideFilePrefix(target_, BackupMark);
    } else {
        const std::string cache = cacheFolder();
        removeStaleCopiesIn(cache);
        const int fd = createUnique(cache, cacheSideFilePrefix(target_, TemporaryMark), copy.path);
        if (fd < 0) {
            throw InOutError::fromErrno(errno);
        }
        copy.fd = FileDescriptor(fd);
        backupPrefix = cacheSideFilePrefix(target_, BackupMark);
    }
    seekToStart(stage_.get());
    copyToEnd(stage_.get(), copy.fd.get());
    syncFile(copy.fd.get());
    const std::string folder = folderOf(copy.path);
    const std::string path = folder + "/" + backupPrefix + uniquePartOf(copy.path);
    // Never over another backup: only a writer killed after making one leaves it, and it may
    // hold the only whole copy of the stage file.
    struct stat status {};
    if (fileSystem().stat(path.c_str(), &status) == 0 || errno != ENOENT) {
        throw InOutError::fromErrno(errno == ENOENT ? EEXIST : errno);
    }
    if (fileSystem().rename(copy.path.c_str(), path.c_str()) != 0) {
        throw InOutError::fromErrno(errno);
    }
    copy.forget();
    backup.fd = std::move(copy.fd);
    backup.path = path;
    // The backup must be findable by its name after a crash in the middle of what follows.
    syncFolder(folder);
}

void SafeWrite::removeStaleCopiesIn(const std::string& cache) {
    // Nobody else clears the cache folder: the copies of backups that writers of this file were
    // killed in the middle of go here, under the lock that every such writer held.
    const std::string prefix = cacheSideFilePrefix(target_, TemporaryMark);
    std::vector<std::string> names;
    fileSystem().listFolder(cache.c_str(), names);
    for (const std::string& name : names) {
        if (isSideFileName(name, prefix)) {
            fileSystem().unlink((cache + "/" + name).c_str());
        }
    }
}

void SafeWrite::copyNewContentIn() {
    seekToStart(output_.fd.get());
    seekToStart(stage_.get());
    copyToEnd(output_.fd.get(), stage_.get());
    truncateTo(stage_.get(), written_);
    syncFile(stage_.get());
}

bool SafeWrite::restoreFrom(const OwnFile& backup) {
    try {
        seekToStart(backup.fd.get());
        seekToStart(stage_.get());
        truncateTo(stage_.get(), copyToEnd(backup.fd.get(), stage_.get()));
        syncFile(stage_.get());
        return true;
    } catch (const InOutError&) {
        return false;
    }
}

void SafeWrite::syncFolder(const std::string& folder) {
    // Makes a rename or a new name durable. A folder that cannot be synced (some file systems
    // refuse) is no reason to report the write as failed: the content is already in place.
    const int fd = fileSystem().open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd >= 0) {
        fileSystem().fsync(fd);
        fileSystem().close(fd);
    }
}

} // namespace krelwin
