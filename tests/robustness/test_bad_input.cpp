// Malformed files from elsewhere and odd paths: every read answers, and no write loses a stage.
#include "errors.h"
#include "file_copy.h"
#include "safe_write.h"
#include "stage_file.h"
#include "test_stage_file_support.h"
#include "tool_process.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;
using BadInput = StageFileTest;

TEST_F(BadInput, LinesOfSeveralMegabytesAreReadWholeAndKeptByEveryWrite) {
    // A name line, a colour text and a cell row of 3 MB each.
    const std::string hugeName(3 << 20, 'n');
    std::string longColours = a;
    longColours.insert(longColours.find(",55,") + 3, std::string(3 << 20, '7'));
    std::string longRow = c;
    longRow.insert(longRow.rfind("\r\n", longRow.size() - 3), std::string(3 << 20, '='));
    const std::string head = "(" + hugeName + ")" + b.substr(b.find("\r\n"));
    write(head + longColours + longRow);

    EXPECT_EQ(CzytajListeEtapow(path), (std::vector<std::string>{hugeName, "a", "c"}));
    Etap etap;
    CzytajEtap(path, 1, etap);
    EXPECT_EQ(etap, simpleEtap(18, 10, '+')) << "the colour text is cut to its 53 columns";
    CzytajEtap(path, 2, etap);
    EXPECT_EQ(etap, simpleEtap(18, 11, '.')) << "a row longer than the width gives its first cells";
    ZapiszEtap(path, "Etap 01", 1, exampleEtap());
    EXPECT_EQ(bytes(), head + exampleRecord() + longRow);
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(bytes(), head + exampleRecord() + longRow + exampleRecord());
}

TEST_F(BadInput, AFolderGivenAsTheFileIsMissingToReadsAndDeniedToWrites) {
    const std::string dir = folder.path().string();
    EXPECT_EQ(runTool({"list", dir}).err, "Brak pliku: " + dir + "...\n");
    EXPECT_EQ(runTool({"show", dir, "0"}).err, "Brak pliku: " + dir + "...\n");
    write(a);
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
    expectOnlyTheStageFile();
}

TEST_F(BadInput, SymbolicLinksAreFollowedAndKept) {
    // A chain of links, one relative, into another folder: the target is replaced, both links
    // stay, and the temporary file goes beside the target, never beside a link.
    TempFolder other;
    const std::string target = other.file("real.map");
    writeBytes(target, a + b);
    fs::create_directory(folder.path() / "sub");
    fs::create_symlink(target, folder.file("first.map"));
    fs::create_symlink("../first.map", folder.file("sub/link.map"));
    const std::string link = folder.file("sub/link.map");
    ZapiszEtap(link, "Etap 01", 1, exampleEtap());
    ZapiszEtap(link, "Etap 01", AppendIndex, exampleEtap());
    ZmienNazweEtapu(link, 0, "z");
    EXPECT_EQ(runTool({"copy", target, "1", link, "-1"}).exitCode, 0);
    EXPECT_EQ(readBytes(target),
              "(z)" + a.substr(3) + exampleRecord() + exampleRecord() + exampleRecord());
    EXPECT_TRUE(fs::is_symlink(link) && fs::is_symlink(folder.file("first.map")));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"first.map", "sub"}));
    EXPECT_EQ(TempFolder::entriesOf(folder.path() / "sub"), std::vector<std::string>{"link.map"});
    EXPECT_EQ(other.entries(), std::vector<std::string>{"real.map"});

    // A dangling link: an append creates the file it names; a replace finds no file.
    fs::remove(target);
    EXPECT_THROW(ZapiszEtap(link, "x", 0, exampleEtap()), MissingFileMessage);
    EXPECT_FALSE(fs::exists(target));
    ZapiszEtap(link, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(readBytes(target), exampleRecord());
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(BadInput, SpecialFilesAreRefusedByTheToolBeforeAnythingWaits) {
    // A FIFO without a writer would block a reader's open and read for ever.
    const std::string fifo = folder.file("fifo.map");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    write(a);
    const std::string refusal = fifo + " nie jest zwykłym plikiem, tylko potokiem (FIFO). Etapy "
                                       "można czytać i zapisywać tylko w zwykłych plikach.\n";
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"list", fifo},
                                                      {"show", fifo, "0"},
                                                      {"check", fifo},
                                                      {"copy", fifo, "0", path, "-1"},
                                                      {"copy", path, "0", fifo, "-1"},
                                                      {"copy", path, "0", fifo, "0"}}) {
        const ToolOutcome outcome = runTool(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments[0];
        EXPECT_EQ(outcome.err, refusal) << arguments[0];
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(bytes(), a);
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
        write(odd + b + c);
        // The list counts one stage too many; "bb" and "c" are at 2 and 3.
        const std::vector<std::string> names = CzytajListeEtapow(path);
        ASSERT_EQ(names.size(), 4u);
        EXPECT_EQ(names[2], "bb");
        ZapiszEtap(path, "Etap 01", 2, exampleEtap());
        EXPECT_EQ(bytes(), odd + exampleRecord() + c);
        ZapiszEtap(path, "Etap 01", 3, exampleEtap());
        EXPECT_EQ(bytes(), odd + exampleRecord() + exampleRecord());
    }
}

TEST_F(BadInput, StaleTemporaryFilesOfKilledWritersAreClearedAndOthersKept) {
    write(a);
    // What killed writers of this stage file leave, and names that only look alike.
    const std::vector<std::string> stale = {".stages.map.krelwin-Ab12Z9",
                                            ".stages.map.krelwin-000000"};
    std::vector<std::string> kept = {".stages.map.krelwin-12345",  ".stages.map.krelwin-1234567",
                                     ".stages.map.krelwin-ab_cd1", ".other.map.krelwin-Ab12Z9",
                                     ".stages.map.backup",         "stages.map.krelwin-Ab12Z9"};
    for (const std::string& name : stale) {
        writeBytes(folder.file(name), "partial");
    }
    for (const std::string& name : kept) {
        writeBytes(folder.file(name), "mine");
    }
    fs::create_directory(folder.file(".stages.map.krelwin-dir123"));
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    kept.push_back(".stages.map.krelwin-dir123");
    kept.push_back("stages.map");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(folder.entries(), kept);
    EXPECT_EQ(bytes(), a + exampleRecord());
}

TEST_F(BadInput, WithOneListingPerFolderEachFileStillClearsItsOwnLeftovers) {
    const std::vector<std::string> leftovers = {
        ".000.png.krelwin-Ab12Z9", ".001.png.krelwin-Cd34Y8", ".001.png.krelwin-Ef56X7"};
    for (const std::string& name : leftovers) {
        writeBytes(folder.file(name), "partial");
    }
    {
        const OneListingPerFolder listing;
        writeWholeFile(folder.file("000.png"), "0");
        // Made after the folder was listed: left for a later write.
        writeBytes(folder.file(".002.png.krelwin-Gh78W6"), "partial");
        writeWholeFile(folder.file("001.png"), "1");
        writeWholeFile(folder.file("002.png"), "2");
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{".002.png.krelwin-Gh78W6", "000.png",
                                                              "001.png", "002.png"}));
    }
    writeWholeFile(folder.file("002.png"), "2");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"000.png", "001.png", "002.png"}));
}

} // namespace
} // namespace krelwin::stagetest
