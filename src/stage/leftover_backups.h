// A write into the stage file itself (safe_write.h) keeps the old content whole in a backup copy
// until it has finished: beside the file, or in the user's cache folder. A writer killed midway
// leaves that backup behind, and the file may then hold a half-written stage. Every read and
// every write of a stage file looks for such backups and tells the listener in force of each,
// so that the editor and krelwin-stage say where it is. Nothing ever removes one but the user.
#pragma once

#include <string>
#include <vector>

namespace krelwin {

class LeftoverBackupListener {
public:
    virtual ~LeftoverBackupListener() = default;
    // `path` as the read or write was given it; `backup` the backup's whole path.
    virtual void leftoverBackupFound(const std::string& path, const std::string& backup) = 0;
};

// Puts a listener in force for the reads and writes that the calling thread makes during its
// own lifetime; nests.
class ScopedLeftoverBackupListener {
public:
    explicit ScopedLeftoverBackupListener(LeftoverBackupListener& listener);
    ~ScopedLeftoverBackupListener();
    ScopedLeftoverBackupListener(const ScopedLeftoverBackupListener&) = delete;
    ScopedLeftoverBackupListener& operator=(const ScopedLeftoverBackupListener&) = delete;

private:
    LeftoverBackupListener* previous_;
};

// The backups of writes into the stage file `target` (its path with every link resolved) among
// the names `beside` it in its folder and those `inCache`, the cache folder's; as whole paths,
// sorted.
std::vector<std::string> backupsAmong(const std::string& target,
                                      const std::vector<std::string>& beside,
                                      const std::vector<std::string>& inCache);

// For a read of the stage file at `path`: tells the listener of each backup left by an
// interrupted write. A write that is still running holds the file's lock and a backup of its
// own: none is told of then. A failure to look is no failure of the read.
void noticeLeftoverBackups(const std::string& path);
// For a write that holds the file's lock, and so knows that each backup is a leftover.
void tellLeftoverBackups(const std::string& path, const std::vector<std::string>& backups);

} // namespace krelwin
