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
#include <map>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <unistd.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;

// A system call by its name: "open", "read", "rename" ...
using Call = std::string_view;

// Passes every call to the operating system, except the one numbered `failAt` and every one from
// `failFrom` on, which fail with `failErrno` (a close still closes, as on Linux). It logs each
// call with its subject: the path it names, or the path its descriptor was opened with.
// `beforeCall` lets a test act in between; `closedFolder` makes mkstemp there fail with EACCES,
// as in a folder the writer may not change.
class FaultyFileSystem : public FileSystem {
public:
    std::vector<Call> calls;
    std::vector<std::string> subjects;
    long failAt = -1;
    long failFrom = -1;
    int failErrno = 0;
    std::string closedFolder;
    std::function<void(Call)> beforeCall;

    int open(const char* p, int f, mode_t m) override {
        return named(ok("open", p) ? os.open(p, f, m) : -1, p);
    }
    ssize_t read(int fd, void* b, std::size_t n) override {
        return ok("read", fd) ? os.read(fd, b, n) : -1;
    }
    ssize_t write(int fd, const void* b, std::size_t n) override {
        return ok("write", fd) ? os.write(fd, b, n) : -1;
    }
    int fsync(int fd) override { return ok("fsync", fd) ? os.fsync(fd) : -1; }
    int close(int fd) override {
        const bool pass = ok("close", fd);
        const int saved = errno;
        os.close(fd);
        names.erase(fd);
        errno = saved;
        return pass ? 0 : -1;
    }
    int fstat(int fd, struct stat* st) override { return ok("fstat", fd) ? os.fstat(fd, st) : -1; }
    int stat(const char* p, struct stat* st) override {
        return ok("stat", p) ? os.stat(p, st) : -1;
    }
    int fchmod(int fd, mode_t m) override { return ok("fchmod", fd) ? os.fchmod(fd, m) : -1; }
    int fchown(int fd, uid_t u, gid_t g) override {
        return ok("fchown", fd) ? os.fchown(fd, u, g) : -1;
    }
    int ftruncate(int fd, off_t n) override {
        return ok("ftruncate", fd) ? os.ftruncate(fd, n) : -1;
    }
    off_t lseek(int fd, off_t o, int w) override {
        return ok("lseek", fd) ? os.lseek(fd, o, w) : -1;
    }
    int mkdir(const char* p, mode_t m) override { return ok("mkdir", p) ? os.mkdir(p, m) : -1; }
    int rename(const char* a, const char* b) override {
        return ok("rename", a) ? os.rename(a, b) : -1;
    }
    int unlink(const char* p) override { return ok("unlink", p) ? os.unlink(p) : -1; }
    int createTemporary(char* t) override {
        if (!ok("mkstemp", t)) {
            return -1;
        }
        if (!closedFolder.empty() && std::string_view(t).starts_with(closedFolder + "/")) {
            errno = EACCES;
            return -1;
        }
        const int fd = os.createTemporary(t);
        return named(fd, t);
    }
    int flock(int fd, int op) override { return ok("flock", fd) ? os.flock(fd, op) : -1; }
    int resolvePath(const char* p, std::string& r) override {
        return ok("realpath", p) ? os.resolvePath(p, r) : -1;
    }
    int listFolder(const char* p, std::vector<std::string>& n) override {
        return ok("opendir", p) ? os.listFolder(p, n) : -1;
    }

    // Where the log holds `call` about `subject` (a subject ending in "*" matches by its start),
    // searching from `from` forwards, or backwards from the end when `last`; -1 when nowhere.
    long find(Call call, const std::string& subject, long from = 0, bool last = false) const {
        const auto matches = [&](long i) {
            return calls[i] == call &&
                   (subject.ends_with('*')
                        ? subjects[i].starts_with(subject.substr(0, subject.size() - 1))
                        : subjects[i] == subject);
        };
        const long size = static_cast<long>(calls.size());
        if (from < 0) {
            return -1;
        }
        for (long n = 0; n < size - from; ++n) {
            const long i = last ? size - 1 - n : from + n;
            if (matches(i)) {
                return i;
            }
        }
        return -1;
    }

private:
    bool ok(Call call, const std::string& subject) {
        if (beforeCall) {
            beforeCall(call);
        }
        calls.push_back(call);
        subjects.push_back(subject);
        const long number = static_cast<long>(calls.size()) - 1;
        if (number == failAt || (failFrom >= 0 && number >= failFrom)) {
            errno = failErrno;
            return false;
        }
        return true;
    }
    bool ok(Call call, int fd) {
        const auto found = names.find(fd);
        return ok(call, found == names.end() ? std::string() : found->second);
    }
    int named(int fd, const std::string& path) {
        if (fd >= 0) {
            names[fd] = path;
        }
        return fd;
    }

    SystemFileSystem os;
    std::map<int, std::string> names;
};

// `operation` run once after `reset`, every call it makes logged in `log`.
void logCalls(FaultyFileSystem& log, const std::function<void()>& reset,
              const std::function<void()>& operation) {
    reset();
    ScopedFileSystem scope(log);
    operation();
}

std::vector<Call> callsOf(const std::function<void()>& reset,
                          const std::function<void()>& operation) {
    FaultyFileSystem log;
    logCalls(log, reset, operation);
    return log.calls;
}

// Runs `operation` once for each of its calls failing in turn with each injected error, `reset`
// before every run; `prepare` sets up each faulty file system. `check` judges each faulty run,
// told whether the failure was reported; a reported failure must carry the injected error's text.
void failEachCall(
    const std::vector<Call>& calls, const std::function<void()>& reset,
    const std::function<void()>& operation,
    const std::function<void(long failAt, Call call, int injected, bool reported)>& check,
    const std::function<void(FaultyFileSystem&)>& prepare = {}) {
    ASSERT_GT(calls.size(), 3u);
    for (long failAt = 0; failAt < static_cast<long>(calls.size()); ++failAt) {
        const Call call = calls[failAt];
        for (const int injected : {ENOSPC, EACCES, EIO}) {
            SCOPED_TRACE(std::string(call) + " #" + std::to_string(failAt) + " errno " +
                         std::to_string(injected));
            reset();
            FaultyFileSystem faulty;
            if (prepare) {
                prepare(faulty);
            }
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
            check(failAt, call, injected, reported);
        }
    }
}

const std::string A = simpleRecord("a", 18, 10, '+');
const std::string B = simpleRecord("b", 25, 12, 'o');
const std::string C = simpleRecord("c", 18, 11, '.');

// How the write puts the new content in place.
enum class Way {
    Rename,       // a temporary file renamed over the stage file
    LinkedFile,   // in place: the file has a second hard link, "twin.map"
    ClosedFolder, // in place: the folder refuses new files, so the scratch copy and backup go to
                  // the cache folder
};

struct WriteScenario {
    const char* title;
    std::optional<std::string> before; // nothing: no file at the path
    std::function<void(const std::string& path)> write;
    Way way = Way::Rename;
};

class WriteFaults : public ::testing::TestWithParam<WriteScenario> {
protected:
    void reset() {
        for (const std::string& entry : folder.entries()) {
            fs::remove(folder.file(entry));
        }
        fs::remove_all(programCacheFolder());
        if (scenario.before) {
            writeBytes(path, *scenario.before);
        }
        if (scenario.way == Way::LinkedFile) {
            fs::create_hard_link(path, twin);
        }
    }
    void prepare(FaultyFileSystem& fileSystem) const {
        if (scenario.way == Way::ClosedFolder) {
            fileSystem.closedFolder = fs::canonical(folder.path()).string();
        }
    }
    // The step after which the new content is in place for good: the rename, or the flush of
    // the stage file written in place.
    long commitPoint(const FaultyFileSystem& log) const {
        return scenario.way == Way::Rename ? log.find("rename", "*")
                                           : log.find("fsync", path, 0, true);
    }
    void expectNothingLeft() const {
        std::vector<std::string> expected;
        if (fs::exists(path)) {
            expected.push_back("stages.map");
        }
        if (scenario.way == Way::LinkedFile) {
            expected.push_back("twin.map");
        }
        EXPECT_EQ(folder.entries(), expected);
        EXPECT_TRUE(programCacheFolderIsEmpty());
    }

    const WriteScenario& scenario = GetParam();
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const std::string twin = folder.file("twin.map");
};

TEST_P(WriteFaults, EachFailingCallLeavesTheFileAsItWasAndNothingBehind) {
    FaultyFileSystem log;
    prepare(log);
    logCalls(
        log, [&] { reset(); }, [&] { scenario.write(path); });
    const std::string after = readBytes(path);
    const long committed = commitPoint(log);
    ASSERT_GE(committed, 0);
    if (scenario.way == Way::LinkedFile) {
        EXPECT_EQ(readBytes(twin), after) << "both names see the new content";
    }

    failEachCall(
        log.calls, [&] { reset(); }, [&] { scenario.write(path); },
        [&](long failAt, Call call, int injected, bool reported) {
            if (!reported) {
                // Only what follows the commit may fail unreported; before it, a folder that
                // seems closed to new files, which a write in place gets round, the flush of a
                // folder, which some file systems refuse, and a removal, tried again later.
                EXPECT_TRUE(failAt > committed || (call == "mkstemp" && injected == EACCES) ||
                            fs::is_directory(log.subjects[failAt]) || call == "unlink");
                EXPECT_EQ(readBytes(path), after);
            } else if (scenario.before) {
                EXPECT_EQ(readBytes(path), *scenario.before);
            } else { // a stage file that had to be created may stay, empty
                EXPECT_TRUE(!fs::exists(path) || fs::file_size(path) == 0);
            }
            // A removal that fails after the commit leaves its file; the new content is in.
            if (reported || call != "unlink") {
                expectNothingLeft();
            }
        },
        [&](FaultyFileSystem& faulty) { prepare(faulty); });
}

const auto replaceMiddle = [](const std::string& path) { ZapiszEtap(path, "n", 1, exampleEtap()); };
const auto append = [](const std::string& path) {
    ZapiszEtap(path, "n", AppendIndex, exampleEtap());
};

INSTANTIATE_TEST_SUITE_P(
    Writes, WriteFaults,
    ::testing::Values(
        WriteScenario{"ReplaceMiddle", A + B + C, replaceMiddle},
        WriteScenario{"Append", A + "\x1a" + B, append},
        WriteScenario{"AppendToMissingFile", std::nullopt, append},
        WriteScenario{"Rename", A + B,
                      [](const std::string& path) { ZmienNazweEtapu(path, 1, "nowa"); }},
        WriteScenario{"ReplaceLinkedFile", A + B + C, replaceMiddle, Way::LinkedFile},
        WriteScenario{"Delete", A + B + C, [](const std::string& path) { deleteStage(path, 1); }},
        WriteScenario{"Move", A + B + C, [](const std::string& path) { moveStage(path, 0, 2); }},
        WriteScenario{"Duplicate", A + B,
                      [](const std::string& path) { duplicateStage(path, 1, "kopia"); }},
        WriteScenario{"FixLineEnds", "(a)\n}\nx\n", fixLineEnds},
        WriteScenario{"AppendInClosedFolder", A + B, append, Way::ClosedFolder}),
    [](const auto& info) { return std::string(info.param.title); });

// A write into the file itself whose disk dies in the middle: the old content cannot be put
// back, and the message says where its backup copy is.
TEST(InPlaceWrite, WhenTheOldContentCannotBePutBackTheMessageNamesItsWholeBackup) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const auto reset = [&] {
        fs::remove(folder.file("twin.map"));
        writeBytes(path, A + B);
        fs::create_hard_link(path, folder.file("twin.map"));
    };
    FaultyFileSystem log;
    logCalls(log, reset, [&] { ZapiszEtap(path, "n", 0, exampleEtap()); });
    FaultyFileSystem dying;
    dying.failFrom = log.find("write", path);
    dying.failErrno = ENOSPC;
    ASSERT_GT(dying.failFrom, 0);
    reset();
    try {
        ScopedFileSystem scope(dying);
        ZapiszEtap(path, "n", 0, exampleEtap());
        ADD_FAILURE() << "the write went through a dead disk";
    } catch (const BackupKeptMessage& message) {
        const std::vector<std::string> entries = folder.entries();
        const auto found = std::find_if(entries.begin(), entries.end(), [](const std::string& e) {
            return e.starts_with(".stages.map.krelwin-kopia-");
        });
        ASSERT_NE(found, entries.end());
        const std::string backup = folder.file(*found);
        EXPECT_EQ(message.what(), "Zapis do pliku " + path +
                                      " nie powiódł się (Disk full) i nie udało się przywrócić "
                                      "jego poprzedniej zawartości. Poprzednia zawartość jest "
                                      "cała w kopii zapasowej: " +
                                      fs::canonical(backup).string());
        EXPECT_EQ(readBytes(backup), A + B);
    }
}

// A crash right after a write must find the new content on the disk: the new bytes are flushed
// before they take the file's place, and that taking of place is flushed after it.
TEST(Durability, EveryWriteFlushesTheNewContentBeforeItTakesThePlaceAndThePlaceAfter) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const std::string place = fs::canonical(folder.path()).string();
    for (const bool linked : {false, true}) {
        for (const int index : {1, AppendIndex}) {
            SCOPED_TRACE(std::string(linked ? "in place, " : "by rename, ") +
                         std::to_string(index));
            FaultyFileSystem log;
            logCalls(
                log,
                [&] {
                    fs::remove(folder.file("twin.map"));
                    writeBytes(path, A + B);
                    if (linked) {
                        fs::create_hard_link(path, folder.file("twin.map"));
                    }
                },
                [&] { ZapiszEtap(path, "n", index, exampleEtap()); });
            if (!linked) {
                const long renamed = log.find("rename", "*");
                ASSERT_GE(renamed, 0);
                const std::string temporary = log.subjects[renamed];
                const long lastWrite = log.find("write", temporary, 0, true);
                const long synced = log.find("fsync", temporary, lastWrite);
                EXPECT_TRUE(lastWrite >= 0 && synced >= 0 && synced < renamed)
                    << temporary << " " << lastWrite << " " << synced << " " << renamed;
                EXPECT_GE(log.find("fsync", place, renamed), 0) << "the folder after the rename";
            } else {
                const std::string backup = place + "/.stages.map.krelwin-kopia-*";
                const long firstWrite = log.find("write", path);
                const long backupSynced = log.find("fsync", backup);
                EXPECT_TRUE(backupSynced >= 0 && backupSynced < firstWrite)
                    << "the backup is on the disk before the file is touched";
                const long backupNamed = log.find("fsync", place, backupSynced);
                EXPECT_TRUE(backupNamed >= 0 && backupNamed < firstWrite);
                const long lastChange = std::max(log.find("write", path, 0, true),
                                                 log.find("ftruncate", path, 0, true));
                EXPECT_GE(log.find("fsync", path, lastChange), 0);
            }
        }
    }
}

// Taking away what killed writers left is housekeeping: a folder that cannot be listed keeps
// them for a later write and never refuses the user's own.
TEST(StaleTemporaryFiles, AFolderThatCannotBeListedKeepsThemAndTheWriteGoesThrough) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const std::string stale = ".stages.map.krelwin-Ab12Z9";
    const auto reset = [&] {
        writeBytes(path, A);
        writeBytes(folder.file(stale), "partial");
    };
    const auto append = [&] { ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap()); };
    FaultyFileSystem log;
    logCalls(log, reset, append);
    const long listing = log.find("opendir", fs::canonical(folder.path()).string());
    ASSERT_GE(listing, 0);
    for (const int injected : {EACCES, EIO}) {
        reset();
        FaultyFileSystem faulty;
        faulty.failAt = listing;
        faulty.failErrno = injected;
        {
            ScopedFileSystem scope(faulty);
            EXPECT_NO_THROW(append()) << injected;
        }
        EXPECT_EQ(readBytes(path), A + exampleRecord());
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{stale, "stages.map"}));
    }
    append();
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
}

TEST(ReadFaults, AFailingLoadOrListIsReportedAndChangesNothingInMemory) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    writeBytes(path, A + B + C);
    Etap etap;
    std::vector<std::string> names;
    // A read descriptor that fails to close has still given everything asked of it.
    const auto judge = [&](long, Call call, int, bool reported) {
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
