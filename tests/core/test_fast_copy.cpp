// A replace in a file of many megabytes: the unchanged stages are copied in large pieces that go
// straight to the temporary file, and the disk is asked to start writing them early. The bytes
// must come out exactly as a line-by-line copy would give them, and a disk that fails while
// writing early must fail the write like any other failing call.
#include "errors.h"
#include "file_system.h"
#include "stage_file.h"
#include "stage_record.h"
#include "test_stage_file_support.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;

// Enough 80 x 80 stages (about 6.6 kB each) to pass the 4 MiB write-back step more than once.
constexpr int StageCount = 1500;

Etap fullStage(char fill) {
    Etap etap;
    etap.parametry.Szer = MaxWymiar;
    etap.parametry.Wys = MaxWymiar;
    etap.fillInterior(fill);
    etap.plansza.at(1, 1) = 'S';
    etap.plansza.at(MaxWymiar, MaxWymiar) = 'W';
    return etap;
}

std::string recordOf(int index, char fill) {
    std::string record;
    appendRecord(record, "Etap " + std::to_string(index), fullStage(fill));
    return record;
}

std::string withBareCarriageReturns(std::string record) {
    std::string bare;
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (!(record[i] == '\n' && i > 0 && record[i - 1] == '\r')) {
            bare += record[i];
        }
    }
    return bare;
}

// The records as stored (`bareEvery`-th record with CR alone ending its lines) and as a replace
// writes them back, every line ended by CR LF.
struct LargeFile {
    std::vector<std::string> stored;
    std::vector<std::string> copied;
};

LargeFile largeFile(int bareEvery) {
    LargeFile file;
    const char fills[] = {'+', 'o', '.', '*'};
    for (int i = 0; i < StageCount; ++i) {
        const std::string record = recordOf(i, fills[i % 4]);
        const bool bare = bareEvery > 0 && i % bareEvery == bareEvery - 1;
        file.stored.push_back(bare ? withBareCarriageReturns(record) : record);
        file.copied.push_back(record);
    }
    return file;
}

std::string joined(const std::vector<std::string>& records) {
    std::string all;
    for (const std::string& record : records) {
        all += record;
    }
    return all;
}

std::vector<std::string> folderEntries(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// Passes everything to the operating system and records the write-back ranges asked for, or
// fails every such request with `failErrno`.
class WriteBackWatch : public SystemFileSystem {
public:
    struct Range {
        off_t offset;
        off_t length;
    };
    std::vector<Range> ranges;
    int failErrno = 0;

    int startWriteBack(int fd, off_t offset, off_t length) override {
        ranges.push_back({offset, length});
        if (failErrno != 0) {
            errno = failErrno;
            return -1;
        }
        return SystemFileSystem::startWriteBack(fd, offset, length);
    }
};

struct LargeReplace {
    const char* title;
    int bareEvery; // 0: every line end CR LF
    int index;
};

class LargeFileReplace : public ::testing::TestWithParam<LargeReplace> {};

TEST_P(LargeFileReplace, GivesTheBytesOfALineByLineCopyAndWritesBackInOrder) {
    const LargeReplace& scenario = GetParam();
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const LargeFile file = largeFile(scenario.bareEvery);
    writeBytes(path, joined(file.stored));

    WriteBackWatch watch;
    {
        ScopedFileSystem scope(watch);
        ZapiszEtap(path, "Nowy", scenario.index, fullStage('.'));
    }

    std::vector<std::string> expected = file.copied;
    expected[scenario.index] = std::string();
    appendRecord(expected[scenario.index], "Nowy", fullStage('.'));
    const std::string after = readBytes(path);
    ASSERT_EQ(after.size(), joined(expected).size());
    EXPECT_TRUE(after == joined(expected)) << "the bytes differ from a line-by-line copy";
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"stages.map"});

    // Write-back covers the file from its start, each range right after the one before.
    ASSERT_GE(watch.ranges.size(), 2u);
    off_t next = 0;
    for (const auto& range : watch.ranges) {
        EXPECT_EQ(range.offset, next);
        EXPECT_GT(range.length, 0);
        next = range.offset + range.length;
    }
    EXPECT_LE(next, static_cast<off_t>(after.size()));
}

INSTANTIATE_TEST_SUITE_P(Replaces, LargeFileReplace,
                         ::testing::Values(LargeReplace{"FirstStage", 0, 0},
                                           LargeReplace{"MiddleStage", 0, StageCount / 2},
                                           LargeReplace{"LastStage", 0, StageCount - 1},
                                           LargeReplace{"MiddleOfBareLineEnds", 7, StageCount / 2},
                                           LargeReplace{"LastOfBareLineEnds", 3, StageCount - 1}),
                         [](const auto& info) { return std::string(info.param.title); });

TEST(WriteBack, AFailureToWriteBackFailsTheWriteAndLeavesTheFileAsItWas) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const std::string before = joined(largeFile(0).stored);
    for (const int failure : {EIO, ENOSPC}) {
        SCOPED_TRACE(failure);
        writeBytes(path, before);
        WriteBackWatch watch;
        watch.failErrno = failure;
        try {
            ScopedFileSystem scope(watch);
            ZapiszEtap(path, "Nowy", StageCount / 2, fullStage('.'));
            ADD_FAILURE() << "the failed write-back was not reported";
        } catch (const InOutError& error) {
            EXPECT_STREQ(error.what(), InOutError::fromErrno(failure).what());
        }
        EXPECT_EQ(watch.ranges.size(), 1u) << "the write stops at the first failure";
        EXPECT_TRUE(readBytes(path) == before);
        EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"stages.map"});
    }
}

TEST(WriteBack, ADiskThatCannotWriteBackEarlyStillTakesTheWrite) {
    TempFolder folder;
    const std::string path = folder.file("stages.map");
    const LargeFile file = largeFile(0);
    std::vector<std::string> renamed = file.copied;
    const std::string oldNameLine = "(Etap " + std::to_string(StageCount - 1) + ")";
    ASSERT_TRUE(renamed.back().starts_with(oldNameLine));
    renamed.back().replace(0, oldNameLine.size(), "(Ostatni)");
    for (const int unsupported : {EINVAL, ENOSYS, EINTR}) {
        SCOPED_TRACE(unsupported);
        writeBytes(path, joined(file.stored));
        WriteBackWatch watch;
        watch.failErrno = unsupported;
        {
            ScopedFileSystem scope(watch);
            ZmienNazweEtapu(path, StageCount - 1, "Ostatni");
        }
        EXPECT_GE(watch.ranges.size(), 2u);
        EXPECT_TRUE(readBytes(path) == joined(renamed));
        EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"stages.map"});
    }
}

} // namespace
} // namespace krelwin::stagetest
