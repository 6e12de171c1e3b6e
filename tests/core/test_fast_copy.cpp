// A replace in a file of many megabytes: the unchanged stages are copied in large pieces that go
// straight to the temporary file, and the disk is asked to start writing them early. The bytes
// must come out exactly as a line-by-line copy would give them, and a disk that fails while
// writing early must fail the write like any other failing call.
#include "errors.h"
#include "file_system.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krelwin::stagetest {
namespace {

// Enough 80 x 80 stages (about 6.6 kB each) to pass the 4 MiB write-back step more than once.
constexpr int StageCount = 1500;

struct LargeFile {
    std::string stored;  // every `bareEvery`-th stage with CR alone ending its lines
    std::string written; // every line ended by CR LF, stage `changed` now named "Nowy"
};

LargeFile largeFile(int bareEvery, int changed, bool renamed) {
    LargeFile file;
    for (int i = 0; i < StageCount; ++i) {
        const std::string name = "Etap " + std::to_string(i);
        const char fill = "+o.*"[i % 4];
        const bool bare = bareEvery > 0 && i % bareEvery == bareEvery - 1;
        file.stored += simpleRecord(name, MaxWymiar, MaxWymiar, fill, bare ? "\r" : "\r\n");
        file.written += simpleRecord(i == changed ? "Nowy" : name, MaxWymiar, MaxWymiar,
                                     i == changed && !renamed ? '.' : fill);
    }
    return file;
}

void change(const std::string& path, int index, bool renamed) {
    if (renamed) {
        ZmienNazweEtapu(path, index, "Nowy");
    } else {
        ZapiszEtap(path, "Nowy", index, simpleEtap(MaxWymiar, MaxWymiar, '.'));
    }
}

// Passes everything to the operating system and records the write-back ranges asked for, or
// fails every such request with `failErrno`.
class WriteBackWatch : public SystemFileSystem {
public:
    std::vector<std::pair<off_t, off_t>> ranges; // offset, length
    int failErrno = 0;

    int startWriteBack(int fd, off_t offset, off_t length) override {
        ranges.emplace_back(offset, length);
        if (failErrno != 0) {
            errno = failErrno;
            return -1;
        }
        return SystemFileSystem::startWriteBack(fd, offset, length);
    }
};

struct LargeChange {
    const char* title;
    int bareEvery; // 0: every line end CR LF
    int index;
    bool renamed;
};

class LargeFileChange : public ::testing::TestWithParam<LargeChange> {};

TEST_P(LargeFileChange, GivesTheBytesOfALineByLineCopyAndWritesBackInOrder) {
    const LargeChange& scenario = GetParam();
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const LargeFile file = largeFile(scenario.bareEvery, scenario.index, scenario.renamed);
    writeBytes(path, file.stored);
    WriteBackWatch watch;
    {
        ScopedFileSystem scope(watch);
        change(path, scenario.index, scenario.renamed);
    }
    const std::string after = readBytes(path);
    ASSERT_EQ(after.size(), file.written.size());
    EXPECT_TRUE(after == file.written) << "the bytes differ from a line-by-line copy";
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});

    // Write-back covers the file from its start, each range right after the one before.
    ASSERT_GE(watch.ranges.size(), 2u);
    off_t next = 0;
    for (const auto& [offset, length] : watch.ranges) {
        EXPECT_EQ(offset, next);
        EXPECT_GT(length, 0);
        next = offset + length;
    }
    EXPECT_LE(next, static_cast<off_t>(after.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, LargeFileChange,
    ::testing::Values(LargeChange{"FirstStage", 0, 0, false},
                      LargeChange{"LastStage", 0, StageCount - 1, false},
                      LargeChange{"MiddleOfBareLineEnds", 7, StageCount / 2, false},
                      LargeChange{"RenameLastOfBareLineEnds", 3, StageCount - 1, true}),
    [](const auto& info) { return std::string(info.param.title); });

// A failing write-back fails the write at once; one the disk cannot do is no failure.
TEST(WriteBack, FailuresFailTheWriteAndUnsupportedRequestsAreIgnored) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const LargeFile file = largeFile(0, StageCount / 2, false);
    for (const auto& [error, fails] :
         {std::pair{EIO, true}, {ENOSPC, true}, {EINVAL, false}, {ENOSYS, false}, {EINTR, false}}) {
        SCOPED_TRACE(error);
        writeBytes(path, file.stored);
        WriteBackWatch watch;
        watch.failErrno = error;
        try {
            ScopedFileSystem scope(watch);
            change(path, StageCount / 2, false);
            EXPECT_FALSE(fails) << "the failed write-back was not reported";
        } catch (const InOutError& failure) {
            EXPECT_TRUE(fails);
            EXPECT_STREQ(failure.what(), InOutError::fromErrno(error).what());
        }
        EXPECT_EQ(watch.ranges.size() == 1u, fails) << "a write stops at the first failure";
        EXPECT_TRUE(readBytes(path) == (fails ? file.stored : file.written));
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
    }
}

} // namespace
} // namespace krelwin::stagetest
