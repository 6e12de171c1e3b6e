// Writers in separate processes take turns on one stage file: no write is lost, none interleaved.
#include "stage_file.h"
#include "test_stage_file_support.h"
#include "tool_process.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <thread>

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

    // The names after the ten old stages that start with `tag`, in file order.
    static std::vector<std::string> namesTagged(const std::vector<std::string>& names,
                                                const std::string& tag) {
        std::vector<std::string> tagged;
        std::copy_if(names.begin() + 10, names.end(), std::back_inserter(tagged),
                     [&](const std::string& name) { return name.starts_with(tag + " "); });
        return tagged;
    }

    static std::vector<std::string> numbered(const std::string& tag, int count) {
        std::vector<std::string> names;
        for (int n = 0; n < count; ++n) {
            names.push_back(tag + " " + std::to_string(n));
        }
        return names;
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
    // Each writer's records are all there, once each, in the order it wrote them.
    std::vector<std::string> names(10, "old");
    names.insert(names.end(), order.begin(), order.end());
    EXPECT_EQ(namesTagged(names, "A"), numbered("A", PerWriter));
    EXPECT_EQ(namesTagged(names, "B"), numbered("B", PerWriter));
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

    const std::vector<std::string> names = CzytajListeEtapow(path);
    ASSERT_EQ(names.size(), 10u + Writes);
    for (int i = 0; i < 10; ++i) {
        // The replaced stage holds the last replace; every other old stage is untouched.
        EXPECT_EQ(names[i],
                  i == 5 ? "R " + std::to_string(Writes - 1) : "old " + std::to_string(i));
    }
    EXPECT_EQ(namesTagged(names, "B"), numbered("B", Writes));
    for (int i = 0; i < 10 + Writes; ++i) {
        Etap etap;
        CzytajEtap(path, i, etap);
        EXPECT_EQ(etap, i == 5   ? simpleEtap(18, 10, 'o')
                        : i < 10 ? simpleEtap(40, 30, '+')
                                 : simpleEtap(25, 12, '.'))
            << i;
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
}

} // namespace
} // namespace krelwin::stagetest
