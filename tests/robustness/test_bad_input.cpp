// Malformed files from elsewhere and odd paths: every read answers, and no write loses a stage.
#include "errors.h"
#include "stage_file.h"
#include "test_stage_file_support.h"
#include "tool_process.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace krelwin::robustness {
namespace {

namespace fs = std::filesystem;
using testing::exampleEtap;
using testing::ExampleRecordLines;
using testing::joinLines;
using testing::readBytes;
using testing::simpleEtap;
using testing::simpleRecord;
using testing::TempFolder;
using testing::writeBytes;

// Built on first use: the example's lines are defined in another file, whose statics may not yet
// be initialised while this file's are.
const std::string& example() {
    static const std::string record = joinLines(ExampleRecordLines);
    return record;
}

class BadInput : public ::testing::Test {
protected:
    TempFolder folder;
    std::string path = folder.file("stages.map");
    const std::string a = simpleRecord("a", 18, 10, '+');
    const std::string b = simpleRecord("b", 20, 12, 'o');
    const std::string c = simpleRecord("c", 18, 11, '.');
};

TEST_F(BadInput, LinesOfSeveralMegabytesAreReadWholeAndKeptByEveryWrite) {
    // A name line, a colour text and a cell row of 3 MB each.
    const std::string hugeName(3 << 20, 'n');
    std::string longColours = a;
    longColours.insert(longColours.find(",55,") + 3, std::string(3 << 20, '7'));
    std::string longRow = c;
    longRow.insert(longRow.rfind("\r\n", longRow.size() - 3), std::string(3 << 20, '='));
    const std::string file =
        "(" + hugeName + ")" + b.substr(b.find("\r\n")) + longColours + longRow;
    writeBytes(path, file);

    EXPECT_EQ(CzytajListeEtapow(path), (std::vector<std::string>{hugeName, "a", "c"}));
    Etap etap;
    CzytajEtap(path, 1, etap);
    EXPECT_EQ(etap, simpleEtap(18, 10, '+')) << "the colour text is cut to its 53 columns";
    CzytajEtap(path, 2, etap);
    EXPECT_EQ(etap, simpleEtap(18, 11, '.')) << "a row longer than the width gives its first cells";

    // Replacing the middle stage and appending keep the long lines byte for byte.
    ZapiszEtap(path, "Etap 01", 1, exampleEtap());
    const std::string replaced =
        "(" + hugeName + ")" + b.substr(b.find("\r\n")) + example() + longRow;
    EXPECT_EQ(readBytes(path), replaced);
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(readBytes(path), replaced + example());
}

TEST_F(BadInput, AFileOfOnlyTheEndMarkHoldsNoStage) {
    writeBytes(path, "\x1a");
    EXPECT_TRUE(CzytajListeEtapow(path).empty());
    Etap etap = exampleEtap();
    try {
        CzytajEtap(path, 0, etap);
        ADD_FAILURE() << "loaded a stage from nothing";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(etap, exampleEtap());
    EXPECT_THROW(ZapiszEtap(path, "x", 0, exampleEtap()), WriteRefused);
    EXPECT_EQ(readBytes(path), "\x1a");
    // An append drops the mark, so the new stage is not hidden behind it.
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(readBytes(path), example());
    EXPECT_EQ(CzytajListeEtapow(path), std::vector<std::string>{"Etap 01"});
}

TEST_F(BadInput, AFolderGivenAsTheFileIsMissingToReadsAndDeniedToWrites) {
    const std::string dir = folder.path().string();
    EXPECT_EQ(runTool({"list", dir}).err, "Brak pliku: " + dir + "...\n");
    EXPECT_EQ(runTool({"show", dir, "0"}).err, "Brak pliku: " + dir + "...\n");
    writeBytes(path, a);
    for (const char* index : {"-1", "0"}) {
        const ToolOutcome outcome = runTool({"copy", path, "0", dir, index});
        EXPECT_EQ(outcome.exitCode, 1) << index;
        EXPECT_EQ(outcome.err, "File access denied.\n") << index;
    }
    try {
        ZmienNazweEtapu(dir, 0, "x");
        ADD_FAILURE() << "renamed in a folder";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
}

TEST_F(BadInput, SymbolicLinksAreFollowedAndKept) {
    // A chain of links into another folder: the target is replaced, both links stay, and the
    // temporary file goes beside the target, never beside a link.
    TempFolder other;
    const std::string target = other.file("real.map");
    writeBytes(target, a + b);
    fs::create_symlink(target, folder.file("first.map"));
    fs::create_symlink(folder.file("first.map"), path);
    ZapiszEtap(path, "Etap 01", 1, exampleEtap());
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(runTool({"copy", target, "0", path, "0"}).exitCode, 0);
    EXPECT_EQ(readBytes(target), a + example() + example());
    EXPECT_TRUE(fs::is_symlink(path) && fs::is_symlink(folder.file("first.map")));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"first.map", "stages.map"}));
    EXPECT_EQ(other.entries(), std::vector<std::string>{"real.map"});

    // A dangling link: an append creates the file it names; a replace finds no stage.
    fs::remove(target);
    EXPECT_THROW(ZapiszEtap(path, "x", 0, exampleEtap()), WriteRefused);
    EXPECT_FALSE(fs::exists(target));
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(readBytes(target), example());
    EXPECT_TRUE(fs::is_symlink(path));
}

// A "}" in a name, a colour text or a row, which only a file from elsewhere can hold, adds a "}"
// line that has no name line of its own. A replace then still keeps every stage it does not
// replace.
TEST_F(BadInput, AStrayBraceNeverCostsAReplaceALaterStage) {
    std::string braceInName = a;
    braceInName.replace(0, 3, "(a}b)");
    std::string braceInColours = a;
    braceInColours.replace(braceInColours.find(",55,"), 4, ",5},");
    std::string braceInRow = a;
    braceInRow.replace(braceInRow.rfind("+++"), 3, "+}+");
    for (const std::string& odd : {braceInName, braceInColours, braceInRow}) {
        writeBytes(path, odd + b + c);
        // The list counts one stage too many; "b" and "c" are at 2 and 3.
        const std::vector<std::string> names = CzytajListeEtapow(path);
        ASSERT_EQ(names.size(), 4u);
        EXPECT_EQ(names[2], "b");
        ZapiszEtap(path, "Etap 01", 2, exampleEtap());
        EXPECT_EQ(readBytes(path), odd + example() + c);
        ZapiszEtap(path, "Etap 01", 3, exampleEtap());
        EXPECT_EQ(readBytes(path), odd + example() + example());
    }
}

TEST_F(BadInput, StaleTemporaryFilesOfKilledWritersAreClearedAndOthersKept) {
    writeBytes(path, a);
    // What killed writers of this stage file leave, and names that only look alike.
    const std::vector<std::string> stale = {".stages.map.krelwin-Ab12Z9",
                                            ".stages.map.krelwin-000000"};
    const std::vector<std::string> kept = {
        ".stages.map.krelwin-12345", ".stages.map.krelwin-1234567", ".stages.map.krelwin-ab_cd1",
        ".other.map.krelwin-Ab12Z9", ".stages.map.backup",          "stages.map.krelwin-Ab12Z9"};
    for (const std::string& name : stale) {
        writeBytes(folder.file(name), "partial");
    }
    for (const std::string& name : kept) {
        writeBytes(folder.file(name), "mine");
    }
    fs::create_directory(folder.file(".stages.map.krelwin-dir123"));
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    std::vector<std::string> expected = kept;
    expected.push_back(".stages.map.krelwin-dir123");
    expected.push_back("stages.map");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.entries(), expected);
    EXPECT_EQ(readBytes(path), a + example());
}

} // namespace
} // namespace krelwin::robustness
