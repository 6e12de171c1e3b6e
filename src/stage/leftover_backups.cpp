#include "leftover_backups.h"

#include "errors.h"
#include "file_system.h"
#include "side_files.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace krelwin {

namespace {

// Each thread's own: a write on a worker thread never calls a window's listener.
thread_local LeftoverBackupListener* listenerInForce = nullptr;

void addBackups(const std::string& folder, const std::vector<std::string>& names,
                const std::string& prefix, std::vector<std::string>& backups) {
    for (const std::string& name : names) {
        if (isSideFileName(name, prefix)) {
            backups.push_back(folder + "/" + name);
        }
    }
}

// The entries of a folder; fewer, or none, when it cannot be listed.
std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    fileSystem().listFolder(folder.c_str(), names);
    return names;
}

// Whether the backup is still there; a failure to look counts as no.
bool stillThere(const std::string& backup) {
    struct stat status {};
    return fileSystem().stat(backup.c_str(), &status) == 0;
}

} // namespace

ScopedLeftoverBackupListener::ScopedLeftoverBackupListener(LeftoverBackupListener& listener)
    : previous_(listenerInForce) {
    listenerInForce = &listener;
}

ScopedLeftoverBackupListener::~ScopedLeftoverBackupListener() {
    listenerInForce = previous_;
}

std::vector<std::string> backupsAmong(const std::string& target,
                                      const std::vector<std::string>& beside,
                                      const std::vector<std::string>& inCache) {
    std::vector<std::string> backups;
    addBackups(folderOf(target), beside, sideFilePrefix(target, BackupMark), backups);
    if (!inCache.empty()) {
        addBackups(cacheFolderPath(), inCache, cacheSideFilePrefix(target, BackupMark), backups);
    }
    std::sort(backups.begin(), backups.end());
    return backups;
}

void noticeLeftoverBackups(const std::string& path) {
    std::string target;
    if (fileSystem().resolvePath(path.c_str(), target) != 0) {
        return;
    }
    std::vector<std::string> inCache;
    try {
        inCache = entriesOf(cacheFolderPath());
    } catch (const InOutError&) {
        // No home folder, so no cache folder to look in.
    }
    std::vector<std::string> backups = backupsAmong(target, entriesOf(folderOf(target)), inCache);
    if (backups.empty()) {
        return;
    }
    // A shared lock, had at once, says that no write runs: whatever backup is there now was
    // left by one that was killed. A write waiting for it meanwhile waits a moment longer.
    const int fd = fileSystem().open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK, 0);
    if (fd < 0) {
        return;
    }
    if (fileSystem().flock(fd, LOCK_SH | LOCK_NB) == 0) {
        std::erase_if(backups, [](const std::string& backup) { return !stillThere(backup); });
        fileSystem().flock(fd, LOCK_UN);
        tellLeftoverBackups(path, backups);
    }
    fileSystem().close(fd);
}

void tellLeftoverBackups(const std::string& path, const std::vector<std::string>& backups) {
    if (listenerInForce == nullptr) {
        return;
    }
    for (const std::string& backup : backups) {
        listenerInForce->leftoverBackupFound(path, backup);
    }
}

} // namespace krelwin
