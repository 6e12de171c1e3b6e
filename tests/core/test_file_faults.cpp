// Every system call of a write or a read is made to fail in turn: whatever fails, the stage file
// is byte for byte as it was, no temporary file stays behind, and the error says what happened.
#include "errors.h"
#include "file_system.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

namespace krelwin {
namespace {

namespace fs = std::filesystem;
using testing::exampleEtap;
using testing::readBytes;
using testing::simpleRecord;
using testing::TempFolder;
using testing::writeBytes;

enum class Call {
    Open,
    Read,
    Write,
    Fsync,
    Close,
    Fstat,
    Stat,
    Fchmod,
    Rename,
    Unlink,
    CreateTemporary,
    Flock,
    ResolvePath
};

const char* nameOf(Call call) {
    static const char* const names[] = {"open",    "read",  "write",   "fsync",  "close",
                                        "fstat",   "stat",  "fchmod",  "rename", "unlink",
                                        "mkstemp", "flock", "realpath"};
    return names[static_cast<int>(call)];
}

// Passes every call to the operating system, except the one numbered `failAt`, which fails
// with `failErrno` (a close still closes, as on Linux). `beforeCall` lets a test act in between.
class FaultyFileSystem : public FileSystem {
public:
    std::vector<Call> calls;
    long failAt = -1;
    int failErrno = 0;
    std::function<void(Call)> beforeCall;

    int open(const char* path, int flags, mode_t mode) override {
        return enter(Call::Open) ? real.open(path, flags, mode) : -1;
    }
    ssize_t read(int fd, void* buffer, std::size_t size) override {
        return enter(Call::Read) ? real.read(fd, buffer, size) : -1;
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        return enter(Call::Write) ? real.write(fd, data, size) : -1;
    }
    int fsync(int fd) override { return enter(Call::Fsync) ? real.fsync(fd) : -1; }
    int close(int fd) override {
        const bool pass = enter(Call::Close);
        const int saved = errno;
        real.close(fd);
        errno = saved;
        return pass ? 0 : -1;
    }
    int fstat(int fd, struct stat* status) override {
        return enter(Call::Fstat) ? real.fstat(fd, status) : -1;
    }
    int stat(const char* path, struct stat* status) override {
        return enter(Call::Stat) ? real.stat(path, status) : -1;
    }
    int fchmod(int fd, mode_t mode) override {
        return enter(Call::Fchmod) ? real.fchmod(fd, mode) : -1;
    }
    int rename(const char* from, const char* to) override {
        return enter(Call::Rename) ? real.rename(from, to) : -1;
    }
    int unlink(const char* path) override { return enter(Call::Unlink) ? real.unlink(path) : -1; }
    int createTemporary(char* pathTemplate) override {
        return enter(Call::CreateTemporary) ? real.createTemporary(pathTemplate) : -1;
    }
    int flock(int fd, int operation) override {
        return enter(Call::Flock) ? real.flock(fd, operation) : -1;
    }
    int resolvePath(const char* path, std::string& resolved) override {
        return enter(Call::ResolvePath) ? real.resolvePath(path, resolved) : -1;
    }

private:
    bool enter(Call call) {
        if (beforeCall) {
            beforeCall(call);
        }
        const long number = static_cast<long>(calls.size());
        calls.push_back(call);
        if (number == failAt) {
            errno = failErrno;
            return false;
        }
        return true;
    }

    SystemFileSystem real;
};

const int InjectedErrors[] = {ENOSPC, EACCES, EIO};

struct WriteScenario {
    const char* title;
    std::optional<std::string> before; // nothing: no file at the path
    std::function<void(const std::string& path)> write;
};

class WriteFaults : public ::testing::TestWithParam<WriteScenario> {};

TEST_P(WriteFaults, EachFailingCallLeavesTheFileAsItWas) {
    const WriteScenario& scenario = GetParam();
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const auto reset = [&] {
        fs::remove(path);
        if (scenario.before) {
            writeBytes(path, *scenario.before);
        }
    };

    reset();
    FaultyFileSystem counting;
    {
        ScopedFileSystem scope(counting);
        scenario.write(path);
    }
    const std::string after = readBytes(path);
    const std::vector<Call> calls = counting.calls;
    const auto rename = std::find(calls.begin(), calls.end(), Call::Rename);
    ASSERT_NE(rename, calls.end());
    const long renameAt = rename - calls.begin();

    int failuresReported = 0;
    for (long failAt = 0; failAt < static_cast<long>(calls.size()); ++failAt) {
        for (const int injected : InjectedErrors) {
            SCOPED_TRACE(std::string(nameOf(calls[failAt])) + " #" + std::to_string(failAt) +
                         " errno " + std::to_string(injected));
            reset();
            FaultyFileSystem faulty;
            faulty.failAt = failAt;
            faulty.failErrno = injected;
            bool reported = false;
            try {
                ScopedFileSystem scope(faulty);
                scenario.write(path);
            } catch (const InOutError& error) {
                reported = true;
                EXPECT_STREQ(error.what(), InOutError::fromErrno(injected).what());
            }
            if (reported) {
                ++failuresReported;
                if (scenario.before) {
                    EXPECT_EQ(readBytes(path), *scenario.before);
                } else {
                    // A stage file that had to be created may stay, empty.
                    EXPECT_TRUE(!fs::exists(path) || fs::file_size(path) == 0);
                }
                EXPECT_LE(failAt, renameAt) << "reported a failure after the file was replaced";
            } else {
                // Only what follows the rename may fail unreported: the new content is in place.
                EXPECT_GT(failAt, renameAt);
                EXPECT_EQ(readBytes(path), after);
            }
            const std::vector<std::string> left = folder.entries();
            EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"stages.map"})
                << left.size() << " entries";
        }
    }
    EXPECT_EQ(failuresReported, (renameAt + 1) * std::size(InjectedErrors));
}

const std::string A = simpleRecord("a", 18, 10, '+');
const std::string B = simpleRecord("b", 25, 12, 'o');
const std::string C = simpleRecord("c", 18, 11, '.');

INSTANTIATE_TEST_SUITE_P(
    Writes, WriteFaults,
    ::testing::Values(
        WriteScenario{"ReplaceMiddle", A + B + C,
                      [](const std::string& path) { ZapiszEtap(path, "n", 1, exampleEtap()); }},
        WriteScenario{
            "Append", A + "\x1a" + B,
            [](const std::string& path) { ZapiszEtap(path, "n", AppendIndex, exampleEtap()); }},
        WriteScenario{
            "AppendToMissingFile", std::nullopt,
            [](const std::string& path) { ZapiszEtap(path, "n", AppendIndex, exampleEtap()); }},
        WriteScenario{"Rename", A + B,
                      [](const std::string& path) { ZmienNazweEtapu(path, 1, "nowa"); }}),
    [](const auto& info) { return std::string(info.param.title); });

// Runs `read` once with every call it makes failing in turn with EIO, and checks the outcome;
// `reset` puts the state in memory back before each run.
void failEachCallOf(const std::function<void()>& reset, const std::function<void()>& read,
                    const std::function<void()>& checkUnchanged) {
    FaultyFileSystem counting;
    {
        ScopedFileSystem scope(counting);
        read();
    }
    ASSERT_GT(counting.calls.size(), 3u);
    for (long failAt = 0; failAt < static_cast<long>(counting.calls.size()); ++failAt) {
        const Call call = counting.calls[failAt];
        SCOPED_TRACE(std::string(nameOf(call)) + " #" + std::to_string(failAt));
        FaultyFileSystem faulty;
        faulty.failAt = failAt;
        faulty.failErrno = EIO;
        ScopedFileSystem scope(faulty);
        reset();
        try {
            read();
            // A read descriptor that fails to close has still given everything asked of it.
            EXPECT_EQ(call, Call::Close);
            continue;
        } catch (const InOutError& error) {
            EXPECT_STREQ(error.what(), "I/O error 5");
        } catch (const MissingFileMessage&) {
            EXPECT_EQ(call, Call::Stat); // the existence test could not look: no file found
        }
        checkUnchanged();
    }
}

TEST(ReadFaults, AFailingLoadIsReportedAndLeavesTheStageInMemory) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    writeBytes(path, A + B + C);
    Etap etap;
    failEachCallOf([&] { etap = exampleEtap(); }, [&] { CzytajEtap(path, 2, etap); },
                   [&] { EXPECT_EQ(etap, exampleEtap()); });
}

TEST(ReadFaults, AFailingListIsReported) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    writeBytes(path, A + B + C);
    std::vector<std::string> names;
    failEachCallOf([&] { names = {"kept"}; }, [&] { names = CzytajListeEtapow(path); },
                   [&] { EXPECT_EQ(names, std::vector<std::string>{"kept"}); });
}

TEST(Locking, TheStageFileIsLockedFromTheFirstReadToTheRename) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    writeBytes(path, A);
    int probes = 0;
    FaultyFileSystem watching;
    watching.beforeCall = [&](Call call) {
        if (call != Call::Read && call != Call::Rename) {
            return;
        }
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::flock(fd, LOCK_SH | LOCK_NB), -1) << nameOf(call);
        EXPECT_EQ(errno, EWOULDBLOCK);
        ::close(fd);
        ++probes;
    };
    {
        ScopedFileSystem scope(watching);
        ZapiszEtap(path, "n", AppendIndex, exampleEtap());
    }
    EXPECT_GE(probes, 2);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"}) << "no lock file";
}

TEST(Locking, AFileReplacedWhileWaitingForTheLockIsReopened) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    writeBytes(path, A);
    bool replaced = false;
    FaultyFileSystem racing;
    racing.beforeCall = [&](Call call) {
        if (call == Call::Flock && !replaced) {
            // Another writer finishes first: its new file takes the path.
            replaced = true;
            writeBytes(folder.file("other"), A + B);
            fs::rename(folder.file("other"), path);
        }
    };
    {
        ScopedFileSystem scope(racing);
        ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    }
    EXPECT_TRUE(replaced);
    EXPECT_EQ(readBytes(path), A + B + testing::joinLines(testing::ExampleRecordLines));
}

TEST(RealFileSystem, AFolderGivenAsTheStageFileIsRefusedAccess) {
    TempFolder folder;
    try {
        ZapiszEtap(folder.path().string(), "n", AppendIndex, exampleEtap());
        FAIL() << "wrote into a folder";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
    EXPECT_TRUE(folder.entries().empty());
}

TEST(RealFileSystem, AReadOnlyFolderOrFileIsRefusedAccess) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root; the fault layer covers these paths";
    }
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    writeBytes(path, A);
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_THROW(ZapiszEtap(path, "n", AppendIndex, exampleEtap()), InOutError);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    try {
        ZapiszEtap(path, "n", AppendIndex, exampleEtap());
        ADD_FAILURE() << "wrote into a read-only folder";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_EQ(readBytes(path), A);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
}

} // namespace
} // namespace krelwin
