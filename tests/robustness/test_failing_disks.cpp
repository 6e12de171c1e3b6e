// A real full file system and real permissions: the write fails with the right text, the stage
// file stays byte for byte, and no temporary file remains.
#include "errors.h"
#include "stage_file.h"
#include "test_stage_file_support.h"
#include "tool_process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;

// A 256 KB tmpfs mounted on a fresh folder for the test's lifetime, where the machine lets us.
class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (::mount("tmpfs", disk.path().c_str(), "tmpfs", 0, "size=256k,mode=0755") != 0) {
            GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                         << "); the fault layer covers a full disk";
        }
        mounted = true;
        for (int i = 0; i < 4; ++i) {
            before += simpleRecord("Etap " + std::to_string(i), 80, 60, 'o');
        }
        writeBytes(path, before);
        writeBytes(source, simpleRecord("nowy", 80, 80, '+'));
    }
    void TearDown() override {
        if (mounted) {
            ::umount2(disk.path().c_str(), MNT_DETACH);
        }
    }

    // Writes a filler file until the file system refuses more, then gives back `spare` bytes.
    void fill(std::size_t spare) {
        const int fd = ::open(disk.file("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'x');
        off_t size = 0;
        for (ssize_t put; (put = ::write(fd, block.data(), block.size())) > 0;) {
            size += put;
        }
        ASSERT_EQ(errno, ENOSPC);
        ASSERT_EQ(::ftruncate(fd, size > static_cast<off_t>(spare) ? size - spare : 0), 0);
        ::close(fd);
    }

    void expectUnchanged() {
        EXPECT_EQ(readBytes(path), before);
        EXPECT_EQ(disk.entries(), (std::vector<std::string>{"filler", "stages.map"}));
    }

    TempFolder disk;
    TempFolder scratch;
    bool mounted = false;
    std::string path = disk.file("stages.map");
    std::string source = scratch.file("source.map");
    std::string before;
};

TEST_F(FullDisk, EveryWriteFailsWithDiskFullAndChangesNothing) {
    // Full to the last block, and full only halfway through the new content.
    for (const std::size_t spare : {std::size_t{0}, std::size_t{12 * 1024}}) {
        SCOPED_TRACE("spare " + std::to_string(spare));
        fill(spare);
        for (const int index : {AppendIndex, 0, 3, -2}) { // -2: a rename
            try {
                if (index == -2) {
                    ZmienNazweEtapu(path, 2, "nowa");
                } else {
                    ZapiszEtap(path, "n", index, exampleEtap());
                }
                ADD_FAILURE() << "a write succeeded on a full disk";
            } catch (const InOutError& error) {
                EXPECT_STREQ(error.what(), "Disk full");
            }
            expectUnchanged();
        }
        const ToolOutcome outcome = runTool({"copy", source, "0", path, "1"});
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.err, "Disk full.\n");
        expectUnchanged();
    }
    // With room again the same write goes through.
    fs::remove(disk.file("filler"));
    EXPECT_EQ(runTool({"copy", source, "0", path, "-1"}).exitCode, 0);
    EXPECT_EQ(readBytes(path), before + simpleRecord("nowy", 80, 80, '+'));
    EXPECT_EQ(disk.entries(), std::vector<std::string>{"stages.map"});
}

// Permissions, with the tool run as a user they bind (as root: "nobody" through setpriv or
// runuser). Everything the tool must reach is handed to that user first, then narrowed.
class Permissions : public ::testing::Test {
protected:
    void SetUp() override {
        const auto found = unprivilegedPrefix();
        if (!found) {
            GTEST_SKIP() << "running as root and no setpriv or runuser to drop it; the fault "
                            "layer covers these paths";
        }
        prefix = *found;
        program = toolCopyIn(programs.path().string());
        writeBytes(path, before);
        writeBytes(source, simpleRecord("nowy", 18, 10, '.'));
        for (const fs::path& p :
             {folder.path(), scratch.path(), fs::path(path), fs::path(source)}) {
            handOver(p);
        }
    }
    void TearDown() override { fs::permissions(folder.path(), fs::perms::owner_all); }

    static void handOver(const fs::path& p) {
        ASSERT_EQ(::chown(p.c_str(), unprivilegedIds().first, unprivilegedIds().second), 0);
        fs::permissions(p, fs::is_directory(p) ? fs::perms::owner_all | fs::perms::others_exec |
                                                     fs::perms::others_read
                                               : fs::perms::owner_read | fs::perms::owner_write);
    }

    ToolOutcome tool(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& environment = {}) {
        std::vector<std::string> command = prefix;
        if (!environment.empty()) {
            command.push_back("env");
            command.insert(command.end(), environment.begin(), environment.end());
        }
        return runTool(arguments, command, program);
    }

    void expectRefusedAndUnchanged(const ToolOutcome& outcome) {
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.err, "File access denied.\n");
        fs::permissions(folder.path(), fs::perms::owner_all);
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(readBytes(path), before);
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
    }

    std::vector<std::string> prefix;
    TempFolder programs; // the user's copy of the tool
    std::string program;
    TempFolder folder;
    TempFolder scratch;
    std::string path = folder.file("stages.map");
    std::string source = scratch.file("source.map");
    std::string before = simpleRecord("a", 18, 10, '+') + simpleRecord("b", 20, 12, 'o');
};

TEST_F(Permissions, ANarrowedRightRefusesEveryWriteThatNeedsIt) {
    // The tool inherits the test's cache folder, which is not the user's: with the folder
    // closed there is nowhere to keep a backup copy, so a write into the file is refused too.
    // First proof that the user reaches everything; each case then takes one right away.
    ASSERT_EQ(tool({"copy", source, "0", path, "-1"}).exitCode, 0);
    before = readBytes(path);
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec;
    // A read-only folder; a read-only file in a writable folder, where the rename alone would
    // succeed and the file's own permission must stop the write.
    for (const auto& [narrowed, mode] :
         {std::pair{folder.path(), readOnly}, {fs::path(path), fs::perms::owner_read}}) {
        for (const char* index : {"-1", "0", "1"}) {
            fs::permissions(narrowed, mode);
            expectRefusedAndUnchanged(tool({"copy", source, "0", path, index}));
        }
    }
    fs::permissions(folder.path(), readOnly);
    expectRefusedAndUnchanged(tool({"copy", source, "0", folder.file("new.map"), "-1"}));
}

// A file the user may change in a folder the user may not: written in place, its backup in the
// user's own cache folder for the time of the write.
TEST_F(Permissions, AWritableFileInAClosedFolderIsWrittenInPlace) {
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const std::string record = simpleRecord("nowy", 18, 10, '.');
    for (const char* index : {"-1", "0"}) {
        const ToolOutcome outcome =
            tool({"copy", source, "0", path, index}, {"XDG_CACHE_HOME=" + scratch.path().string()});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    }
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_EQ(readBytes(path), record + simpleRecord("b", 20, 12, 'o') + record);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
    EXPECT_TRUE(fs::is_empty(scratch.path() / "krelwin-konstruktor")) << "no backup stays";
}

// Another user's file in a folder both may change: a rename would make it the writer's, so it
// is written in place and keeps its owner.
TEST_F(Permissions, AnotherUsersFileInASharedFolderKeepsItsOwner) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give the file to another user";
    }
    ASSERT_EQ(::chown(path.c_str(), 0, 0), 0);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read |
                              fs::perms::others_write);
    struct stat was {};
    ASSERT_EQ(::stat(path.c_str(), &was), 0);
    EXPECT_EQ(tool({"copy", source, "0", path, "-1"}).exitCode, 0);
    struct stat is {};
    ASSERT_EQ(::stat(path.c_str(), &is), 0);
    EXPECT_EQ(is.st_uid, was.st_uid);
    EXPECT_EQ(is.st_gid, was.st_gid);
    EXPECT_EQ(is.st_ino, was.st_ino) << "written in place";
    EXPECT_EQ(readBytes(path), before + simpleRecord("nowy", 18, 10, '.'));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
}

TEST_F(Permissions, AnUnreadableFileIsReportedByEveryRead) {
    fs::permissions(path, fs::perms::owner_write);
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"list", path},
                                                      {"show", path, "0"},
                                                      {"check", path},
                                                      {"copy", path, "0", source, "-1"}}) {
        const ToolOutcome outcome = tool(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments[0];
        EXPECT_EQ(outcome.err, "File access denied.\n") << arguments[0];
    }
    expectRefusedAndUnchanged(tool({"copy", source, "0", path, "-1"}));
    EXPECT_EQ(readBytes(source), simpleRecord("nowy", 18, 10, '.'));
}

} // namespace
} // namespace krelwin::stagetest
