// Replaces a stage file's content all or nothing, keeping the file's owner, group, permissions
// and hard links.
//
// The usual way: the new content goes into a uniquely named temporary file beside the stage
// file, which is flushed to the disk, given the stage file's owner, group and permissions, and
// renamed over it; the folder is flushed after the rename. At every moment the stage file holds
// either its old content or the complete new one.
//
// A rename cannot serve three kinds of file: one with more than one hard link (the other names
// would keep the old content), one whose owner or group the writer cannot give to a new file
// (it would become the writer's), and a writable file in a folder the writer may not change.
// Those are written in place: the new content is first built aside (beside the file, or in the
// user's cache folder when the folder is closed), the old content is copied whole into a backup
// copy that is flushed to the disk (and takes its name only then), and only then is the new
// content copied into the file. When that fails, the old content is copied back; when even that
// fails, the message names the backup, which then stays. After success the backup is removed; a
// writer killed in the middle leaves it, and the next read or write tells of it
// (leftover_backups.h).
//
// The stage file is held under an advisory exclusive lock (flock) from before its content is
// read until the end, so writers in several processes take turns; a writer waits at most
// LockWaitLimit for it (file_lock.h). Nothing else is created beside it for the lock. Under that
// lock a writer also removes the temporary files that killed writers of the same file left, and
// tells of their backups.
#pragma once

#include "file_system.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace krelwin {

// While one lives, the safe writes of the calling thread find the temporary files that killed
// writers left in a folder in one listing of it, made at the first write into that folder,
// instead of listing the folder again for every write: a command that writes thousands of files
// into one folder (the pictures of a whole pack) then takes time linear in their number rather
// than quadratic. Leftovers of writers killed after that listing stay for a later write.
class OneListingPerFolder {
public:
    OneListingPerFolder();
    ~OneListingPerFolder();
    OneListingPerFolder(const OneListingPerFolder&) = delete;
    OneListingPerFolder& operator=(const OneListingPerFolder&) = delete;

private:
    friend class SafeWrite;
    // The possible temporary files of the folder's first listing, less those removed since.
    std::vector<std::string>& namesIn(const std::string& folder);

    std::map<std::string, std::vector<std::string>> listings_;
    OneListingPerFolder* outer_;
};

class SafeWrite {
public:
    enum class IfMissing { Create, Fail };

    // Opens the stage file (creating it empty when missing and asked to), locks it, makes sure the
    // path still names the file locked, and prepares where the new content goes. A symbolic link
    // is followed: the file it names is written and the link stays. Only a regular file is
    // written (NotRegularFileMessage). Throws FileBusyMessage, InOutError.
    SafeWrite(const std::string& path, IfMissing ifMissing);
    // Unless committed: every file it made is removed and the stage file left as it was.
    ~SafeWrite() = default;
    SafeWrite(const SafeWrite&) = delete;
    SafeWrite& operator=(const SafeWrite&) = delete;

    // The locked stage file, positioned at its start, for reading its present content.
    int stageFd() const { return stage_.get(); }

    // Buffered into the new content; large pieces go straight through.
    void write(std::string_view bytes);
    // Puts the new content in place. Throws InOutError (or BackupKeptMessage) with the stage
    // file as it was, apart from what BackupKeptMessage says.
    void commit();

private:
    // A file this write made, removed when the write goes unless it was kept.
    struct OwnFile {
        FileDescriptor fd;
        std::string path; // empty once it has no name left to remove
        ~OwnFile();
        void forget() { path.clear(); }
    };

    void lockStageFile(const std::string& path, IfMissing ifMissing);
    // The possible side files in `folder`, from the one listing in force or from `listedNow`.
    static std::vector<std::string>& sideFilesIn(const std::string& folder,
                                                 std::vector<std::string>& listedNow);
    void lookAtSideFiles();
    void removeStaleTemporaryFiles(const std::string& folder, std::vector<std::string>& names);
    void prepareOutput();
    bool createBeside(OwnFile& file, std::string_view mark);
    bool giveOwnerAndGroup(int fd);
    void startScratchInCache();
    void flush();
    void writeThrough(std::string_view bytes);
    void commitByRename();
    void commitInPlace();
    void makeBackup(OwnFile& backup);
    void removeStaleCopiesIn(const std::string& cache);
    void copyNewContentIn();
    bool restoreFrom(const OwnFile& backup);
    void syncFolder(const std::string& folder);

    FileDescriptor stage_;
    struct stat stageStatus_ {};
    std::string path_;   // as the caller gave it, for messages
    std::string target_; // the stage file itself, every link resolved
    bool inPlace_ = false;
    bool folderWritable_ = false;
    OwnFile output_; // the temporary file, or for a write in place the new content's scratch copy
    std::string pending_;
    off_t written_ = 0;        // bytes handed to the output so far
    off_t writeBackStart_ = 0; // where the write-back not yet started begins
};

} // namespace krelwin
