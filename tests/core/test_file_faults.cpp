// Every system call of a write or a read is made to fail in turn: whatever fails, the stage file
// is byte for byte as it was, no temporary file stays behind, and the error says what happened.
#include "errors.h"
#include "file_system.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <unistd.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;

// A system call by its name: "open", "read", "rename" ...
using Call = std::string_view;

// Passes every call to the operating system, except the one numbered `failAt`, which fails
// with `failErrno` (a close still closes, as on Linux). `beforeCall` lets a test act in between.
class FaultyFileSystem : public FileSystem {
public:
    std::vector<Call> calls;
    long failAt = -1;
    int failErrno = 0;
    std::function<void(Call)> beforeCall;

    int open(const char* p, int f, mode_t m) override { return ok("open") ? os.open(p, f, m) : -1; }
    ssize_t read(int fd, void* b, std::size_t n) override {
        return ok("read") ? os.read(fd, b, n) : -1;
    }
    ssize_t write(int fd, const void* b, std::size_t n) override {
        return ok("write") ? os.write(fd, b, n) : -1;
    }
    int fsync(int fd) override { return ok("fsync") ? os.fsync(fd) : -1; }
    int close(int fd) override {
        const bool pass = ok("close");
        const int saved = errno;
        os.close(fd);
        errno = saved;
        return pass ? 0 : -1;
    }
    int fstat(int fd, struct stat* st) override { return ok("fstat") ? os.fstat(fd, st) : -1; }
    int stat(const char* p, struct stat* st) override { return ok("stat") ? os.stat(p, st) : -1; }
    int fchmod(int fd, mode_t m) override { return ok("fchmod") ? os.fchmod(fd, m) : -1; }
    int rename(const char* a, const char* b) override {
        return ok("rename") ? os.rename(a, b) : -1;
    }
    int unlink(const char* p) override { return ok("unlink") ? os.unlink(p) : -1; }
    int createTemporary(char* t) override { return ok("mkstemp") ? os.createTemporary(t) : -1; }
    int flock(int fd, int op) override { return ok("flock") ? os.flock(fd, op) : -1; }
    int resolvePath(const char* p, std::string& r) override {
        return ok("realpath") ? os.resolvePath(p, r) : -1;
    }

private:
    bool ok(Call call) {
        if (beforeCall) {
            beforeCall(call);
        }
        calls.push_back(call);
        if (static_cast<long>(calls.size()) - 1 == failAt) {
            errno = failErrno;
            return false;
        }
        return true;
    }

    SystemFileSystem os;
};

// The calls `operation` makes, run once after `reset`.
std::vector<Call> callsOf(const std::function<void()>& reset,
                          const std::function<void()>& operation) {
    FaultyFileSystem counting;
    reset();
    ScopedFileSystem scope(counting);
    operation();
    return counting.calls;
}

// Runs `operation` once for each of its calls failing in turn with each injected error, `reset`
// before every run. `check` judges each faulty run, told whether the failure was reported; a
// reported failure must carry the injected error's text.
void failEachCall(const std::vector<Call>& calls, const std::function<void()>& reset,
                  const std::function<void()>& operation,
                  const std::function<void(long failAt, Call call, bool reported)>& check) {
    ASSERT_GT(calls.size(), 3u);
    for (long failAt = 0; failAt < static_cast<long>(calls.size()); ++failAt) {
        const Call call = calls[failAt];
        for (const int injected : {ENOSPC, EACCES, EIO}) {
            SCOPED_TRACE(std::string(call) + " #" + std::to_string(failAt) + " errno " +
                         std::to_string(injected));
            reset();
            FaultyFileSystem faulty;
            faulty.failAt = failAt;
            faulty.failErrno = injected;
            bool reported = true;
            try {
                ScopedFileSystem scope(faulty);
                operation();
                reported = false;
            } catch (const InOutError& error) {
                EXPECT_STREQ(error.what(), InOutError::fromErrno(injected).what());
            } catch (const MissingFileMessage&) {
                EXPECT_EQ(call, "stat") << "only a failed existence test finds no file";
            }
            check(failAt, call, reported);
        }
    }
}

const std::string A = simpleRecord("a", 18, 10, '+');
const std::string B = simpleRecord("b", 25, 12, 'o');
const std::string C = simpleRecord("c", 18, 11, '.');

struct WriteScenario {
    const char* title;
    std::optional<std::string> before; // nothing: no file at the path
    std::function<void(const std::string& path)> write;
};

class WriteFaults : public ::testing::TestWithParam<WriteScenario> {};

TEST_P(WriteFaults, EachFailingCallLeavesTheFileAsItWasAndNoTemporaryFile) {
    const WriteScenario& scenario = GetParam();
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const auto reset = [&] {
        fs::remove(path);
        if (scenario.before) {
            writeBytes(path, *scenario.before);
        }
    };
    const std::vector<Call> calls = callsOf(reset, [&] { scenario.write(path); });
    const std::string after = readBytes(path);
    const long renameAt = std::find(calls.begin(), calls.end(), "rename") - calls.begin();
    ASSERT_LT(renameAt, static_cast<long>(calls.size()));

    long reportedCount = 0;
    failEachCall(
        calls, reset, [&] { scenario.write(path); },
        [&](long failAt, Call, bool reported) {
            if (!reported) {
                // Only what follows the rename may fail unreported: the new file is in.
                EXPECT_GT(failAt, renameAt);
                EXPECT_EQ(readBytes(path), after);
            } else if (scenario.before) {
                ++reportedCount;
                EXPECT_EQ(readBytes(path), *scenario.before);
            } else {
                ++reportedCount; // a stage file that had to be created may stay, empty
                EXPECT_TRUE(!fs::exists(path) || fs::file_size(path) == 0);
            }
            const std::vector<std::string> left = folder.entries();
            EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"stages.map"})
                << left.size() << " entries";
        });
    EXPECT_EQ(reportedCount, (renameAt + 1) * 3) << "every failure up to the rename is reported";
}

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

TEST(ReadFaults, AFailingLoadOrListIsReportedAndChangesNothingInMemory) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    writeBytes(path, A + B + C);
    Etap etap;
    std::vector<std::string> names;
    // A read descriptor that fails to close has still given everything asked of it.
    const auto judge = [&](long, Call call, bool reported) {
        EXPECT_TRUE(reported || call == "close");
        if (reported) {
            EXPECT_EQ(etap, exampleEtap());
            EXPECT_EQ(names, std::vector<std::string>{"kept"});
        }
    };
    const auto reset = [&] {
        etap = exampleEtap();
        names = {"kept"};
    };
    const auto load = [&] { CzytajEtap(path, 2, etap); };
    const auto list = [&] { names = CzytajListeEtapow(path); };
    failEachCall(callsOf(reset, load), reset, load, judge);
    failEachCall(callsOf(reset, list), reset, list, judge);
}

TEST(Locking, TheStageFileIsLockedFromTheFirstReadToTheRename) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    writeBytes(path, A);
    int probes = 0;
    FaultyFileSystem watching;
    watching.beforeCall = [&](Call call) {
        if (call == "read" || call == "rename") {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            EXPECT_EQ(::flock(fd, LOCK_SH | LOCK_NB), -1) << call;
            EXPECT_EQ(errno, EWOULDBLOCK);
            ::close(fd);
            ++probes;
        }
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
        if (call == "flock" && !replaced) { // another writer finishes first
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
    EXPECT_EQ(readBytes(path), A + B + exampleRecord());
}

} // namespace
} // namespace krelwin::stagetest
