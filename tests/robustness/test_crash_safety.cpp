// A writer killed at any moment leaves the stage file exactly as it was before that write or
// exactly as it is after it, never truncated or mixed, and nothing that a later write trips on.
#include "test_stage_file_support.h"
#include "tool_process.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Kills = 200;
constexpr int StagesInFile = 450; // 80 x 80 each: about 3 MB

struct Write {
    int sourceIndex;
    int destinationIndex; // -1 appends
};

std::vector<std::string> copyArguments(const std::string& source, const Write& write,
                                       const std::string& destination) {
    return {"copy", source, std::to_string(write.sourceIndex), destination,
            std::to_string(write.destinationIndex)};
}

// Everything beside the stage file in its folder; only temporary files of killed writers may be.
std::vector<std::string> othersBeside(const TempFolder& folder) {
    std::vector<std::string> others = folder.entries();
    std::erase(others, "stages.map");
    return others;
}

bool hasEnded(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

// Waits until a temporary file other than `stale` beside the stage file holds at least `bytes`
// bytes, or the writer has ended: the moment to kill a writer in the middle of its write,
// however fast this machine writes.
void awaitTemporaryFile(const TempFolder& folder, const std::vector<std::string>& stale,
                        std::uintmax_t bytes, pid_t writer) {
    while (!hasEnded(writer)) {
        for (const std::string& name : othersBeside(folder)) {
            std::error_code gone; // renamed or removed in between
            if (std::find(stale.begin(), stale.end(), name) == stale.end() &&
                fs::file_size(folder.file(name), gone) >= bytes && !gone) {
                return;
            }
        }
    }
}

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override {
        std::string big;
        for (int i = 0; i < StagesInFile; ++i) {
            big += simpleRecord("Etap " + std::to_string(i), 80, 80, "+o.*"[i % 4]);
        }
        writeBytes(stageFile, big);
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

    Clock::duration timeOfOneWrite(const std::string& before) {
        std::vector<Clock::duration> times;
        for (int i = 0; i < 3; ++i) {
            writeBytes(copyFile, before);
            const auto start = Clock::now();
            EXPECT_EQ(runTool(copyArguments(source, {0, StagesInFile / 2}, copyFile)).exitCode, 0);
            times.push_back(Clock::now() - start);
        }
        std::sort(times.begin(), times.end());
        return times[1];
    }

    TempFolder folder;
    TempFolder scratch;
    const std::string stageFile = folder.file("stages.map");
    const std::string source = scratch.file("source.map");
    const std::string copyFile = scratch.file("copy.map");
};

TEST_F(CrashSafety, AKilledWriterLeavesTheFileBeforeOrAfterItsWriteAndNothingInTheWay) {
    std::string current = readBytes(stageFile);
    int stages = StagesInFile;
    const auto writeTime = timeOfOneWrite(current);
    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> delays(
        0, std::chrono::duration_cast<std::chrono::microseconds>(writeTime).count() * 12 / 10);

    int unchanged = 0, unchangedMidWrite = 0, replaced = 0, finishedBeforeKill = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        // Replaces and appends take turns; replaces go anywhere in the file.
        const Write write{kill % 4 < 2 ? 0 : 1,
                          kill % 2 == 0 ? static_cast<int>(random() % stages) : -1};
        SCOPED_TRACE("kill " + std::to_string(kill) + " at index " +
                     std::to_string(write.destinationIndex));
        // Half the kills come after a random time, anywhere in the write; the other half once
        // the new temporary file holds part of the new content.
        const auto delay = std::chrono::microseconds(delays(random));
        const auto partWritten =
            std::uniform_int_distribution<std::uintmax_t>(1, current.size() * 9 / 10)(random);
        const std::vector<std::string> stale = othersBeside(folder);
        const pid_t writer = startTool(copyArguments(source, write, stageFile));
        if (kill % 8 < 4) {
            std::this_thread::sleep_for(delay);
        } else {
            awaitTemporaryFile(folder, stale, partWritten, writer);
        }
        ::kill(writer, SIGKILL);
        const int status = waitFor(writer);
        if (WIFEXITED(status)) {
            ++finishedBeforeKill;
            ASSERT_EQ(WEXITSTATUS(status), 0);
        }

        const std::string now = readBytes(stageFile);
        const std::vector<std::string> others = othersBeside(folder);
        // A killed writer's temporary file may stay until the next write clears it; no more
        // than one is ever there, and nothing else.
        ASSERT_LE(others.size(), 1u) << others[0] << " and more";
        for (const std::string& name : others) {
            ASSERT_TRUE(name.starts_with(".stages.map.krelwin-")) << name;
        }
        if (now == current) {
            ++unchanged;
            unchangedMidWrite += others.empty() ? 0 : 1;
            continue;
        }
        const std::string after = completed(current, write);
        ASSERT_EQ(now.size(), after.size()) << "neither before nor after: truncated or mixed";
        ASSERT_TRUE(now == after) << "neither before nor after: mixed";
        current = after;
        stages += write.destinationIndex < 0 ? 1 : 0;
        ++replaced;
    }

    // A last write that runs to the end leaves nothing beside the stage file.
    const Write last{0, -1};
    const std::string expected = completed(current, last);
    ASSERT_EQ(runTool(copyArguments(source, last, stageFile)).exitCode, 0);
    EXPECT_EQ(readBytes(stageFile), expected);
    EXPECT_TRUE(othersBeside(folder).empty());

    std::cout << "[ figures  ] one write " << writeTime / std::chrono::milliseconds(1) << " ms; "
              << Kills << " kills: " << unchanged << " before (" << unchangedMidWrite
              << " mid-write), " << replaced << " after (" << finishedBeforeKill
              << " finished before the kill)\n";
    EXPECT_EQ(unchanged + replaced, Kills);
    // The kills that wait for a partly written temporary file land in the middle of a write.
    EXPECT_GT(unchangedMidWrite, 0);
}

} // namespace
} // namespace krelwin::stagetest
