// Stage files in odd places and odd states: special files, a lock another program holds, hard
// links, another user's owner or group, names at the file system's length limit, and stages
// whose cells would break the record count.
#include "errors.h"
#include "file_lock.h"
#include "file_system.h"
#include "side_files.h"
#include "stage_check.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;
using OddFiles = StageFileTest;

// Every read and every write of the stage file operations.
const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> Operations{
    {"list", [](const std::string& p) { CzytajListeEtapow(p); }},
    {"load",
     [](const std::string& p) {
         Etap etap;
         CzytajEtap(p, 0, etap);
     }},
    {"check", [](const std::string& p) { findStageProblems(p); }},
    {"append", [](const std::string& p) { ZapiszEtap(p, "n", AppendIndex, exampleEtap()); }},
    {"replace", [](const std::string& p) { ZapiszEtap(p, "n", 0, exampleEtap()); }},
    {"rename", [](const std::string& p) { ZmienNazweEtapu(p, 0, "n"); }},
};

TEST_F(OddFiles, OnlyRegularFilesAreReadOrWrittenAndNothingWaitsOnAnother) {
    const std::string fifo = folder.file("fifo.map");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string socket = folder.file("socket.map");
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::vector<std::pair<std::string, std::string>> special{{fifo, "potokiem (FIFO)"},
                                                             {socket, "gniazdem (socket)"}};
    // A null device of our own: a mistake here must never replace the system's /dev/null.
    const std::string device = folder.file("device.map");
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        special.emplace_back(device, "urządzeniem znakowym");
    }
    const std::string link = folder.file("link.map");
    fs::create_symlink(fifo, link);
    special.emplace_back(link, "potokiem (FIFO)");
    const std::vector<std::string> entries = folder.entries();

    for (const auto& [path, kind] : special) {
        for (const auto& [what, operation] : Operations) {
            try {
                operation(path);
                ADD_FAILURE() << what << " " << path;
            } catch (const NotRegularFileMessage& refusal) {
                EXPECT_EQ(refusal.what(), path + " nie jest zwykłym plikiem, tylko " + kind +
                                              ". Etapy można czytać i zapisywać tylko w zwykłych "
                                              "plikach.")
                    << what;
            }
        }
    }
    ::close(listening);
    EXPECT_EQ(folder.entries(), entries);
    EXPECT_TRUE(fs::is_fifo(fifo) && fs::is_socket(socket) && fs::is_symlink(link));
    EXPECT_TRUE(special.size() < 4 || fs::is_character_file(device));
}

// Counts what a write waiting for the lock tells, and can act at a given report.
class CountingListener : public LockWaitListener {
public:
    int waits = 0;
    int ends = 0;
    std::function<void(int)> onWait;
    void waiting() override {
        ++waits;
        if (onWait) {
            onWait(waits);
        }
    }
    void waitEnded() override { ++ends; }
};

// A clock that moves only by the pauses taken: a wait of seconds passes at once.
class InstantClock : public SystemFileSystem {
public:
    std::chrono::steady_clock::time_point time{};
    std::chrono::steady_clock::time_point now() override { return time; }
    void pause(std::chrono::milliseconds duration) override { time += duration; }
};

TEST_F(OddFiles, AWriteWaitsForABusyFileOnlySoLongAndTellsTheWindowMeanwhile) {
    write(a);
    InstantClock clock;
    const ScopedFileSystem instant(clock);
    CountingListener listener;
    setLockWaitListener(&listener);
    const int holder = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    for (const auto& [what, operation] : Operations) {
        listener = {};
        const auto start = clock.time;
        try {
            operation(path);
            // Reads take no lock and never wait.
            EXPECT_NE(std::string_view("list load check").find(what), std::string_view::npos)
                << what;
        } catch (const FileBusyMessage& busy) {
            EXPECT_EQ(busy.what(), "Plik " + path +
                                       " jest używany przez inny program. Plik nie został "
                                       "zmieniony; spróbuj ponownie, gdy tamten program "
                                       "skończy z niego korzystać.");
            EXPECT_TRUE(listener.waits >= 1 && listener.ends == 1) << what;
            // Five seconds, give or take one pause between two attempts.
            const auto waited = clock.time - start;
            EXPECT_TRUE(waited >= std::chrono::milliseconds(5000) &&
                        waited <= std::chrono::milliseconds(5100))
                << what << " waited "
                << std::chrono::duration_cast<std::chrono::milliseconds>(waited).count() << " ms";
        }
    }
    EXPECT_EQ(bytes(), a);
    expectOnlyTheStageFile();

    // Let go while the writer waits: it goes on, and the listener hears the end once.
    listener = {};
    listener.onWait = [&](int waits) {
        if (waits == 2) {
            ::flock(holder, LOCK_UN);
        }
    };
    EXPECT_EQ(ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap()), 1);
    EXPECT_EQ(listener.ends, 1);
    EXPECT_EQ(bytes(), a + exampleRecord());
    setLockWaitListener(nullptr);
    ::close(holder);
}

TEST_F(OddFiles, EveryNameOfAHardLinkedFileSeesTheNewContent) {
    write(a + b);
    const std::string twin = folder.file("twin.map");
    fs::create_hard_link(path, twin);
    ZapiszEtap(path, "Etap 01", 1, exampleEtap());
    ZapiszEtap(twin, "x", AppendIndex, simpleEtap(18, 11, '.'));
    ZmienNazweEtapu(path, 2, "c");
    EXPECT_EQ(bytes(), a + exampleRecord() + c);
    EXPECT_EQ(readBytes(twin), bytes());
    EXPECT_EQ(fs::hard_link_count(path), 2u);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"stages.map", "twin.map"}));
    EXPECT_TRUE(programCacheFolderIsEmpty()) << "no backup stays";
}

// Shows the files it was told of, and every file later given their ids, as owned by `owner` and
// `group`: ids that a user in a single group cannot give a file for real.
class ForeignIds : public SystemFileSystem {
public:
    ForeignIds(uid_t owner, gid_t group) : owner_(owner), group_(group) {}
    void adopt(const std::string& path) {
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        files_.push_back(status.st_ino);
    }
    int fstat(int fd, struct stat* status) override {
        return shown(SystemFileSystem::fstat(fd, status), status);
    }
    int stat(const char* path, struct stat* status) override {
        return shown(SystemFileSystem::stat(path, status), status);
    }
    int fchown(int fd, uid_t owner, gid_t group) override {
        struct stat status {};
        if (owner != owner_ || group != group_ || SystemFileSystem::fstat(fd, &status) != 0) {
            return SystemFileSystem::fchown(fd, owner, group);
        }
        files_.push_back(status.st_ino);
        return 0;
    }
    // The file renamed over goes, and a new file may be given its inode number.
    int rename(const char* from, const char* to) override {
        struct stat replaced {};
        if (SystemFileSystem::stat(to, &replaced) == 0) {
            std::erase(files_, replaced.st_ino);
        }
        return SystemFileSystem::rename(from, to);
    }

private:
    int shown(int result, struct stat* status) const {
        if (result == 0 && std::count(files_.begin(), files_.end(), status->st_ino) > 0) {
            status->st_uid = owner_;
            status->st_gid = group_;
        }
        return result;
    }
    uid_t owner_;
    gid_t group_;
    std::vector<ino_t> files_;
};

TEST_F(OddFiles, AWriteKeepsTheFilesOwnerAndGroup) {
    write(a);
    ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
    // Root gives the file ids no account needs to have; any other user gets them shown.
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 54321 : ::geteuid();
    const gid_t group = 54322;
    ForeignIds shownIds(owner, group);
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    } else {
        shownIds.adopt(path);
    }
    struct stat status {};
    {
        SystemFileSystem real;
        ScopedFileSystem scope(root ? static_cast<FileSystem&>(real) : shownIds);
        ZapiszEtap(path, "Etap 01", 0, exampleEtap());
        ZapiszEtap(path, "x", AppendIndex, exampleEtap());
        ASSERT_EQ(fileSystem().stat(path.c_str(), &status), 0);
    }
    EXPECT_EQ(status.st_uid, owner);
    EXPECT_EQ(status.st_gid, group);
    EXPECT_EQ(status.st_mode & 07777, 0664u);
    EXPECT_EQ(bytes(), exampleRecord() + "(x)" + exampleRecord().substr(9));
    expectOnlyTheStageFile();
}

// Leaves every temporary file where a killed writer would: the rename fails and no removal
// happens.
class KilledBeforeTheRename : public SystemFileSystem {
public:
    int rename(const char*, const char*) override {
        errno = EIO;
        return -1;
    }
    int unlink(const char*) override { return 0; }
};

TEST_F(OddFiles, NamesUpToTheLimitCanBeWrittenAndOnlyTheirOwnLeftoversAreCleared) {
    const std::string longest = folder.file(std::string(251, 'd') + ".map"); // 255 bytes
    const std::string alike = folder.file(std::string(247, 'd') + "e.map");  // same first 247
    const auto leaveATemporaryFile = [](const std::string& file) {
        KilledBeforeTheRename killed;
        ScopedFileSystem scope(killed);
        EXPECT_THROW(ZapiszEtap(file, "x", AppendIndex, exampleEtap()), InOutError);
    };
    writeBytes(alike, a);
    leaveATemporaryFile(alike);
    writeBytes(longest, a);
    leaveATemporaryFile(longest);
    ASSERT_EQ(folder.entries().size(), 4u) << "each writer left its temporary file";

    ZapiszEtap(longest, "Etap 01", 0, exampleEtap());
    ZapiszEtap(longest, "x", AppendIndex, exampleEtap());
    ZmienNazweEtapu(longest, 1, "y");
    EXPECT_EQ(readBytes(longest), exampleRecord() + "(y)" + exampleRecord().substr(9));
    EXPECT_EQ(folder.entries().size(), 3u) << "only the longest name's own leftover is gone";
    ZapiszEtap(alike, "x", AppendIndex, exampleEtap());
    EXPECT_EQ(folder.entries().size(), 2u) << "the other name's leftover was its own to clear";
}

// Whether the text is whole UTF-8: no character cut short, no stray continuation byte.
bool isWholeUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC0 ? 2
                                                  : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

TEST(SideFiles, ALongNameIsCutBetweenTwoCharacters) {
    // 255 and 254 bytes of "ż" (two bytes each), so that some cuts fall inside one.
    for (const std::string lead : {"x", ""}) {
        std::string name = lead;
        for (int i = 0; i < 125; ++i) {
            name += "\xc5\xbc";
        }
        name += ".map";
        for (const std::string_view mark : {TemporaryMark, BackupMark}) {
            for (const std::string& prefix : {sideFilePrefix("/pliki/" + name, mark),
                                              cacheSideFilePrefix("/pliki/" + name, mark)}) {
                EXPECT_LE(prefix.size() + UniquePartLength, 255u);
                EXPECT_TRUE(isWholeUtf8(prefix)) << prefix;
            }
        }
    }
}

TEST_F(OddFiles, CellsThatWouldBreakTheRecordCountAreRefusedNamingTheFirstByRow) {
    write(a);
    const std::vector<std::pair<char, std::string>> refused{
        {'(', "nie może zawierać znaku „(”: przesunąłby on położenie wszystkich dalszych "
              "etapów w pliku."},
        {'}', "nie może zawierać znaku „}”: przesunąłby on położenie wszystkich dalszych "
              "etapów w pliku."},
        {'\r', "nie może zawierać znaku końca wiersza."},
        {'\n', "nie może zawierać znaku końca wiersza."},
        {'\x1a', "nie może zawierać znaku o kodzie 26 (Ctrl+Z), który kończy plik."}};
    for (const auto& [cell, text] : refused) {
        Etap etap = exampleEtap();
        etap.plansza.at(2, 5) = cell;
        etap.plansza.at(9, 2) = cell; // first in row order, last in column order
        Etap lastCell = exampleEtap();
        lastCell.plansza.at(18, 10) = cell;
        for (const auto& [stage, where] :
             {std::pair{etap, "2, kolumnie 9 "}, {lastCell, "10, kolumnie 18 "}}) {
            for (const int index : {AppendIndex, 0}) {
                try {
                    ZapiszEtap(path, "x", index, stage);
                    ADD_FAILURE() << "wrote a cell " << int(cell);
                } catch (const WriteRefused& refusal) {
                    EXPECT_EQ(refusal.what(), "Pole w wierszu " + std::string(where) + text);
                }
            }
        }
    }
    EXPECT_EQ(bytes(), a);
    // Cells that are not stored do not count: the ring, and columns past the width.
    Etap outside = exampleEtap();
    outside.plansza.at(19, 3) = '(';
    outside.plansza.at(0, 0) = '}';
    ZapiszEtap(path, "Etap 01", AppendIndex, outside);
    EXPECT_EQ(bytes(), a + exampleRecord());
}

} // namespace
} // namespace krelwin::stagetest
