// A writer killed at any moment leaves the stage file exactly as it was before that write or
// exactly as it is after it, never truncated or mixed, and nothing that a later write trips on.
// A write into the file itself (a file with a second hard link) may leave it half-written, but
// only with a backup beside it that holds the old content whole, which the next read tells of.
#include "test_stage_file_support.h"
#include "tool_process.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int StagesInFile = 450; // 80 x 80 each: about 3 MB
const std::string Temporary = ".stages.map.krelwin-";
const std::string Backup = ".stages.map.krelwin-kopia-";

struct Write {
    int sourceIndex;
    int destinationIndex; // -1 appends
};

std::vector<std::string> copyArguments(const std::string& source, const Write& write,
                                       const std::string& destination) {
    return {"copy", source, std::to_string(write.sourceIndex), destination,
            std::to_string(write.destinationIndex)};
}

// Everything beside the stage file (and its second name) in its folder.
std::vector<std::string> othersBeside(const TempFolder& folder) {
    std::vector<std::string> others = folder.entries();
    std::erase(others, "stages.map");
    std::erase(others, "twin.map");
    return others;
}

bool hasEnded(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

// Whether a file beside the stage file, not among `stale`, whose name starts with `start` holds
// at least `bytes` bytes.
bool sideFileHolds(const TempFolder& folder, const std::vector<std::string>& stale,
                   const std::string& start, std::uintmax_t bytes) {
    for (const std::string& name : othersBeside(folder)) {
        std::error_code gone; // renamed or removed in between
        if (name.starts_with(start) && std::find(stale.begin(), stale.end(), name) == stale.end() &&
            fs::file_size(folder.file(name), gone) >= bytes && !gone) {
            return true;
        }
    }
    return false;
}

// Waits until `reached()` or the writer has ended: the moment to kill a writer in the middle of
// its write, however fast this machine writes.
void await(pid_t writer, const std::function<bool()>& reached) {
    while (!reached() && !hasEnded(writer)) {
    }
}

// Lets the writer run in short steps, stopped in between, until `reached()` while it is stopped
// (or it has ended), and leaves it stopped there. A copy of a few megabytes takes less time than
// a kill of a running writer would, so only a stopped one is caught in the middle of it.
void stopWhen(pid_t writer, const std::function<bool()>& reached, std::mt19937& random) {
    std::uniform_int_distribution<int> steps(10, 200); // microseconds
    for (;;) {
        ::kill(writer, SIGSTOP);
        siginfo_t info{};
        ::waitid(P_PID, writer, &info, WSTOPPED | WEXITED | WNOWAIT);
        if (info.si_code != CLD_STOPPED) {
            return;
        }
        ::waitid(P_PID, writer, &info, WSTOPPED); // taken, so that the next stop is news
        if (reached()) {
            return;
        }
        ::kill(writer, SIGCONT);
        std::this_thread::sleep_for(std::chrono::microseconds(steps(random)));
    }
}

// Whether the byte at `offset` of the file is `byte`.
bool byteIs(const std::string& path, std::size_t offset, char byte) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    char now = 0;
    const bool is = ::pread(fd, &now, 1, static_cast<off_t>(offset)) == 1 && now == byte;
    ::close(fd);
    return is;
}

class CrashSafety : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        std::string big;
        for (int i = 0; i < StagesInFile; ++i) {
            big += simpleRecord("Etap " + std::to_string(i), 80, 80, "+o.*"[i % 4]);
        }
        writeBytes(stageFile, big);
        if (inPlace) {
            fs::create_hard_link(stageFile, folder.file("twin.map"));
        }
        // Two sources of different sizes, so every write moves the stages after it.
        writeBytes(source, simpleRecord("nowy", 40, 30, 'o') + simpleRecord("maly", 18, 10, '.'));
    }

    // The file that `write` makes of `before`, run to completion on a copy.
    std::string completed(const std::string& before, const Write& write) {
        writeBytes(copyFile, before);
        const ToolOutcome outcome = runTool(copyArguments(source, write, copyFile));
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        return readBytes(copyFile);
    }

    Clock::duration timeOfOneWrite() {
        std::vector<Clock::duration> times;
        const std::string before = readBytes(stageFile);
        for (int i = 0; i < 3; ++i) {
            const auto start = Clock::now();
            EXPECT_EQ(runTool(copyArguments(source, {0, StagesInFile / 2}, stageFile)).exitCode, 0);
            times.push_back(Clock::now() - start);
            writeBytes(stageFile, before); // in place: the second name stays
        }
        std::sort(times.begin(), times.end());
        return times[1];
    }

    const bool inPlace = GetParam();
    TempFolder folder;
    TempFolder scratch;
    const std::string stageFile = folder.file("stages.map");
    const std::string source = scratch.file("source.map");
    const std::string copyFile = scratch.file("copy.map");
};

TEST_P(CrashSafety, AKilledWriterLeavesTheFileBeforeOrAfterItsWriteOrItsWholeBackup) {
    const int kills = inPlace ? 120 : 200;
    std::string current = readBytes(stageFile);
    int stages = StagesInFile;
    const auto writeTime = timeOfOneWrite();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> delays(
        0, std::chrono::duration_cast<std::chrono::microseconds>(writeTime).count() * 12 / 10);

    int unchanged = 0, unchangedMidWrite = 0, replaced = 0, finishedBeforeKill = 0;
    int halfWritten = 0, backupsLeft = 0;
    for (int kill = 0; kill < kills; ++kill) {
        // Replaces and appends take turns (the kills in the copy into the file, where an append
        // changes only the last block, are all replaces); replaces go anywhere in the file.
        const int way = kill % 8;
        const bool replace = kill % 2 == 0 || (inPlace && way == 7);
        const Write write{kill % 4 < 2 ? 0 : 1, replace ? static_cast<int>(random() % stages) : -1};
        SCOPED_TRACE("kill " + std::to_string(kill) + " at index " +
                     std::to_string(write.destinationIndex));
        // Half the kills come after a random time, anywhere in the write; the others once the
        // new content is partly written aside, or (in place) once the backup holds part of the
        // old content or the copy into the file has passed the first byte it changes.
        const auto delay = std::chrono::microseconds(delays(random));
        const auto partWritten =
            std::uniform_int_distribution<std::uintmax_t>(1, current.size() * 9 / 10)(random);
        const std::vector<std::string> stale = othersBeside(folder);
        // The file this write makes, found beforehand where the kill waits for it.
        std::string after = inPlace && way >= 6 ? completed(current, write) : std::string();
        const pid_t writer = startTool(copyArguments(source, write, stageFile));
        if (way < 4) {
            std::this_thread::sleep_for(delay);
        } else if (!inPlace) {
            await(writer, [&] { return sideFileHolds(folder, stale, Temporary, partWritten); });
        } else if (way < 6) {
            stopWhen(
                writer, [&] { return sideFileHolds(folder, stale, Backup, partWritten); }, random);
        } else {
            const std::size_t firstChange =
                std::mismatch(current.begin(), current.end(), after.begin(), after.end()).first -
                current.begin();
            stopWhen(
                writer, [&] { return byteIs(stageFile, firstChange, after[firstChange]); }, random);
        }
        ::kill(writer, SIGKILL);
        const int status = waitFor(writer);
        if (WIFEXITED(status)) {
            ++finishedBeforeKill;
            ASSERT_EQ(WEXITSTATUS(status), 0);
        }

        const std::string now = readBytes(stageFile);
        if (inPlace) {
            ASSERT_EQ(readBytes(folder.file("twin.map")), now) << "both names, one file";
        }
        // Only side files of the killed writer: temporary files, which the next write clears,
        // and (in place) at most one backup, which holds the old content whole.
        std::vector<std::string> backups;
        for (const std::string& name : othersBeside(folder)) {
            ASSERT_TRUE(name.starts_with(Temporary)) << name;
            if (name.starts_with(Backup)) {
                backups.push_back(folder.file(name));
            }
        }
        ASSERT_LE(othersBeside(folder).size(), inPlace ? 3u : 1u);
        ASSERT_LE(backups.size(), 1u);
        for (const std::string& backup : backups) {
            ASSERT_TRUE(readBytes(backup) == current) << "a backup, but not the old content";
        }
        if (now != current && after.empty()) {
            after = completed(current, write);
        }
        if (now != current && now != after) {
            // Half-written: the next read says where the backup is, and the check lists it.
            ASSERT_EQ(backups.size(), 1u) << "neither before nor after, and no backup";
            ++halfWritten;
            const std::string whole = fs::canonical(backups[0]).string();
            const ToolOutcome list = runTool({"list", stageFile});
            EXPECT_NE(list.err.find("kopii zapasowej: " + whole + "."), std::string::npos)
                << list.err;
            const ToolOutcome check = runTool({"check", stageFile});
            EXPECT_EQ(check.exitCode, 1);
            EXPECT_TRUE(fs::exists(backups[0])) << "the backup is the user's to remove";
            // The user puts the old content back (into the file itself, so both names see it).
            writeBytes(stageFile, current);
        } else if (now == current) {
            ++unchanged;
            unchangedMidWrite += othersBeside(folder).empty() ? 0 : 1;
        } else {
            current = after;
            stages += write.destinationIndex < 0 ? 1 : 0;
            ++replaced;
        }
        backupsLeft += static_cast<int>(backups.size());
        for (const std::string& backup : backups) {
            fs::remove(backup);
        }
    }

    // A last write that runs to the end leaves nothing beside the stage file.
    const Write last{0, -1};
    const std::string expected = completed(current, last);
    ASSERT_EQ(runTool(copyArguments(source, last, stageFile)).exitCode, 0);
    EXPECT_EQ(readBytes(stageFile), expected);
    EXPECT_TRUE(othersBeside(folder).empty());

    std::cout << "[ figures  ] " << (inPlace ? "in place" : "by rename") << ": one write "
              << writeTime / std::chrono::milliseconds(1) << " ms; " << kills
              << " kills: " << unchanged << " before (" << unchangedMidWrite << " mid-write), "
              << replaced << " after (" << finishedBeforeKill << " finished before the kill), "
              << halfWritten << " half-written with the old content whole in the backup; "
              << backupsLeft << " backups left\n";
    EXPECT_EQ(unchanged + replaced + halfWritten, kills);
    // The kills that wait for a partly written side file land in the middle of a write.
    EXPECT_GT(unchangedMidWrite, 0);
    if (inPlace) {
        EXPECT_GT(backupsLeft, 0) << "no kill landed between the backup and its removal";
    } else {
        EXPECT_EQ(halfWritten + backupsLeft, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Writes, CrashSafety, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InPlace" : "ByRename"; });

} // namespace
} // namespace krelwin::stagetest
