// Writers in separate processes take turns on one stage file: no write is lost, none interleaved.
#include "stage_file.h"
#include "test_stage_file_support.h"
#include "tool_process.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace krelwin::stagetest {
namespace {

class TwoWriters : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 10; ++i) {
            before += simpleRecord("old " + std::to_string(i), 40, 30, '+');
        }
        writeBytes(path, before);
        writeBytes(sourceA, simpleRecord("A", 18, 10, 'o'));
        writeBytes(sourceB, simpleRecord("B", 25, 12, '.'));
    }

    // Runs `count` copies of stage 0 of `source` into the stage file at `index`, the n-th under
    // the name `tag` + n; returns how many failed.
    std::thread writer(const std::string& source, const std::string& tag, int index, int count,
                       int& failures) {
        return std::thread([=, this, &failures] {
            for (int n = 0; n < count; ++n) {
                const ToolOutcome outcome =
                    runTool({"copy", source, "0", path, std::to_string(index), "--name",
                             tag + " " + std::to_string(n)});
                failures += outcome.exitCode == 0 ? 0 : 1;
            }
        });
    }

    // Every name a writer tagged `tag` must hold, in file order, when it wrote `count` times.
    static void expectAllInOrder(const std::vector<std::string>& names, const std::string& tag,
                                 int count) {
        std::vector<std::string> tagged, expected;
        std::copy_if(names.begin(), names.end(), std::back_inserter(tagged),
                     [&](const std::string& name) { return name.starts_with(tag + " "); });
        for (int n = 0; n < count; ++n) {
            expected.push_back(tag + " " + std::to_string(n));
        }
        EXPECT_EQ(tagged, expected);
    }

    TempFolder folder;
    TempFolder scratch;
    std::string path = folder.file("stages.map");
    std::string sourceA = scratch.file("a.map");
    std::string sourceB = scratch.file("b.map");
    std::string before;
};

TEST_F(TwoWriters, FiftyAppendsEachGiveExactlyAHundredWholeRecords) {
    constexpr int PerWriter = 50;
    int failuresA = 0, failuresB = 0;
    std::thread a = writer(sourceA, "A", -1, PerWriter, failuresA);
    std::thread b = writer(sourceB, "B", -1, PerWriter, failuresB);
    a.join();
    b.join();
    EXPECT_EQ(failuresA + failuresB, 0);

    // The list holds at most 100 names; `show` reaches every stage, so count by loading.
    const std::string content = readBytes(path);
    ASSERT_TRUE(content.starts_with(before));
    std::string rest = content.substr(before.size());
    std::vector<std::string> order;
    while (!rest.empty()) {
        // Every record is whole: it is exactly one of the two sources under its own name.
        const std::size_t close = rest.find(")\r\n");
        ASSERT_NE(close, std::string::npos);
        const std::string name = rest.substr(1, close - 1);
        const std::string whole = name.starts_with("A ") ? simpleRecord(name, 18, 10, 'o')
                                                         : simpleRecord(name, 25, 12, '.');
        ASSERT_TRUE(rest.starts_with(whole)) << "record " << order.size() << " is not whole";
        order.push_back(name);
        rest.erase(0, whole.size());
    }
    EXPECT_EQ(order.size(), 2u * PerWriter);
    expectAllInOrder(order, "A", PerWriter);
    expectAllInOrder(order, "B", PerWriter);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
}

TEST_F(TwoWriters, AReplaceRacingAnAppendLosesNeither) {
    constexpr int Writes = 30;
    int replaceFailures = 0, appendFailures = 0;
    std::thread replacer = writer(sourceA, "R", 5, Writes, replaceFailures);
    std::thread appender = writer(sourceB, "B", -1, Writes, appendFailures);
    replacer.join();
    appender.join();
    EXPECT_EQ(replaceFailures + appendFailures, 0);

    // The replaced stage holds the last replace; every other old stage is untouched.
    const std::vector<std::string> names = CzytajListeEtapow(path);
    ASSERT_EQ(names.size(), 10u + Writes);
    EXPECT_EQ(names[5], "R " + std::to_string(Writes - 1));
    expectAllInOrder(names, "B", Writes);
    for (int i = 0; i < 10 + Writes; ++i) {
        Etap etap;
        CzytajEtap(path, i, etap);
        EXPECT_TRUE(i == 5 || i >= 10 || names[i] == "old " + std::to_string(i)) << names[i];
        EXPECT_EQ(etap, i == 5   ? simpleEtap(18, 10, 'o')
                        : i < 10 ? simpleEtap(40, 30, '+')
                                 : simpleEtap(25, 12, '.'))
            << i;
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
}

// Another program holding the lock ("flock -x pack.map sleep 25", a suspended writer) makes the
// tool give up after its wait with the editor's message, the file untouched.
TEST_F(TwoWriters, ALockHeldElsewhereEndsTheWaitWithAMessage) {
    const int holder = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const ToolOutcome outcome = runTool({"copy", sourceA, "0", path, "-1"});
    ::close(holder);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "Plik " + path +
                               " jest używany przez inny program. Plik nie został zmieniony; "
                               "spróbuj ponownie, gdy tamten program skończy z niego "
                               "korzystać.\n");
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
}

} // namespace
} // namespace krelwin::stagetest
