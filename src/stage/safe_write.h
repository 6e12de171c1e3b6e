// Replaces a stage file in one step. The new content goes into a uniquely named temporary file
// beside the stage file, which is flushed to the disk and renamed over the stage file, so that
// at every moment the stage file holds either its old content or the complete new one.
//
// The stage file is held under an advisory exclusive lock (flock) from before its content is
// read until the rename, so writers in several processes take turns; nothing else is created
// beside it for the lock. Under that lock a writer also removes the temporary files that killed
// writers of the same stage file left behind.
#pragma once

#include "file_system.h"

#include <string>
#include <string_view>

namespace krelwin {

class SafeWrite {
public:
    enum class IfMissing { Create, Fail };

    // Opens the stage file (creating it empty when missing and asked to), locks it, makes sure the
    // path still names the file locked, and creates the temporary file. A symbolic link is
    // followed: the file it names is replaced and the link stays. Throws InOutError.
    SafeWrite(const std::string& path, IfMissing ifMissing);
    // Unless committed: the temporary file is removed and the stage file left as it was.
    ~SafeWrite() = default;
    SafeWrite(const SafeWrite&) = delete;
    SafeWrite& operator=(const SafeWrite&) = delete;

    // The locked stage file, positioned at its start, for reading its present content.
    int stageFd() const { return stage_.get(); }

    // Buffered into the temporary file; large pieces go straight through.
    void write(std::string_view bytes);
    // Flushes, syncs and closes the temporary file, gives it the stage file's permissions and
    // renames it over the stage file. Throws InOutError, the stage file untouched.
    void commit();

private:
    void lockStageFile(const std::string& path, IfMissing ifMissing);
    void removeStaleTemporaryFiles();
    void createTemporaryFile();
    void flush();
    void writeThrough(std::string_view bytes);
    void syncFolder();

    // Removed when it goes, however the write ends, unless it has become the stage file.
    struct TemporaryFile {
        FileDescriptor fd;
        std::string path;
        bool renamed = false;
        ~TemporaryFile();
    };

    FileDescriptor stage_;
    mode_t stageMode_ = 0;
    std::string target_; // the stage file itself, every link resolved
    TemporaryFile temporary_;
    std::string pending_;
    off_t written_ = 0;        // bytes handed to the temporary file so far
    off_t writeBackStart_ = 0; // where the write-back not yet started begins
};

} // namespace krelwin
