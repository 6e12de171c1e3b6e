// Every system call of a write or a read is made to fail in turn: whatever fails, the stage file
// is byte for byte as it was, no temporary file stays behind, and the error says what happened.
#include "errors.h"
#include "faulty_file_system.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <unistd.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;

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
                // folder, which some file systems refuse, a removal, tried again later, and a
                // listing, which only looks for what killed writers left.
                EXPECT_TRUE(failAt > committed || (call == "mkstemp" && injected == EACCES) ||
                            fs::is_directory(log.subjects[failAt]) || call == "unlink" ||
                            call == "opendir");
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
                // The backup takes its name once whole and on the disk, and that name is on the
                // disk before the file is touched.
                const long firstWrite = log.find("write", path);
                const long named = log.find("rename", place + "/.stages.map.krelwin-*");
                ASSERT_GE(named, 0);
                const long copySynced = log.find("fsync", log.subjects[named]);
                EXPECT_TRUE(copySynced >= 0 && copySynced < named && named < firstWrite);
                const long nameSynced = log.find("fsync", place, named);
                EXPECT_TRUE(nameSynced >= 0 && nameSynced < firstWrite);
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
    // A read descriptor that fails to close has still given everything asked of it; the look
    // for backups of interrupted writes is no part of the read.
    const auto judge = [&](long, Call call, int, bool reported) {
        EXPECT_TRUE(reported || call == "close" || call == "realpath" || call == "opendir");
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
