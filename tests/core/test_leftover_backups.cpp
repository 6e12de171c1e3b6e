// A write into the file itself that dies midway leaves its backup, beside the file or in the
// cache folder: every later read and write of that file tells where it is, the check reports
// it, and nothing removes it.
#include "errors.h"
#include "faulty_file_system.h"
#include "leftover_backups.h"
#include "stage_check.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;

struct Told : LeftoverBackupListener {
    std::vector<std::string> backups;
    void leftoverBackupFound(const std::string& path, const std::string& backup) override {
        EXPECT_EQ(path.substr(path.rfind('/')), "/stages.map");
        backups.push_back(backup);
    }
};

class LeftoverBackups : public StageFileTest {
protected:
    // What the test left in the cache folder is gone with it, as the user would remove it.
    void TearDown() override { fs::remove_all(programCacheFolder()); }

    // A write into the file itself (a second hard link, or a folder closed to new files) on a
    // disk that dies at its first write into the file: the old content cannot be put back, and
    // the backup stays where a writer killed at that moment would leave it.
    std::string leaveBackup(bool closedFolder) {
        const std::string place = fs::canonical(folder.path()).string();
        if (!closedFolder) {
            fs::create_hard_link(path, folder.file("twin.map"));
        }
        const std::string before = bytes();
        FaultyFileSystem log;
        log.closedFolder = closedFolder ? place : "";
        logCalls(
            log, [] {}, [&] { ZapiszEtap(path, "n", 0, exampleEtap()); });
        write(before);
        FaultyFileSystem dying;
        dying.closedFolder = log.closedFolder;
        dying.failFrom = log.find("write", path);
        dying.failErrno = EIO;
        try {
            const ScopedFileSystem scope(dying);
            ZapiszEtap(path, "n", 0, exampleEtap());
        } catch (const BackupKeptMessage& kept) {
            const std::string text = kept.what();
            return text.substr(text.rfind(": ") + 2);
        }
        ADD_FAILURE() << "the write went through a dead disk";
        return {};
    }
};

TEST_F(LeftoverBackups, EveryReadAndWriteTellsWhereTheyAreAndTheCheckReportsThem) {
    write(a + b);
    const std::string beside = leaveBackup(false);
    const std::string inCache = leaveBackup(true);
    EXPECT_EQ(fs::path(beside).parent_path(), fs::canonical(folder.path()));
    EXPECT_EQ(fs::path(inCache).parent_path(), fs::canonical(programCacheFolder()));
    std::vector<std::string> both = {beside, inCache};
    std::sort(both.begin(), both.end());
    for (const std::string& backup : both) {
        EXPECT_EQ(readBytes(backup), a + b) << "the old content, whole";
    }
    const std::vector<std::pair<const char*, std::function<void()>>> operations{
        {"list", [&] { CzytajListeEtapow(path); }},
        {"load",
         [&] {
             Etap etap;
             CzytajEtap(path, 1, etap);
         }},
        {"write", [&] { ZapiszEtap(path, "x", AppendIndex, exampleEtap()); }},
        {"rename", [&] { ZmienNazweEtapu(path, 2, "y"); }}};
    for (const auto& [what, operation] : operations) {
        Told told;
        const ScopedLeftoverBackupListener scope(told);
        operation();
        std::sort(told.backups.begin(), told.backups.end());
        EXPECT_EQ(told.backups, both) << what;
    }
    // The check reports them (its words are the tool's test's) instead of telling.
    Told told;
    const ScopedLeftoverBackupListener scope(told);
    const std::vector<StageProblem> problems = findStageProblems(path);
    EXPECT_TRUE(told.backups.empty());
    for (const std::string& backup : both) {
        EXPECT_EQ(std::count_if(problems.begin(), problems.end(),
                                [&](const StageProblem& problem) {
                                    return problem.index == FileLevel &&
                                           problem.text.ends_with(": " + backup);
                                }),
                  1);
        EXPECT_EQ(readBytes(backup), a + b) << "nothing removed it";
    }
}

TEST_F(LeftoverBackups, NoneIsToldWhileAWriteRunsNorForAnotherFileOfTheSameName) {
    write(a);
    leaveBackup(true);
    TempFolder other;
    writeBytes(other.file("stages.map"), a);
    Told told;
    const ScopedLeftoverBackupListener scope(told);
    CzytajListeEtapow(other.file("stages.map"));
    EXPECT_TRUE(told.backups.empty()) << "the cache folder's backup is another file's";
    // A writer holds the lock: its own backup is no leftover.
    const int writer = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    CzytajListeEtapow(path);
    EXPECT_TRUE(told.backups.empty());
    ::close(writer);
    CzytajListeEtapow(path);
    EXPECT_EQ(told.backups.size(), 1u);
}

} // namespace
} // namespace krelwin::stagetest
