#include "errors.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krelwin {
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

// A function, not a global: the record lines live in another file, and globals of two files
// are initialised in no fixed order.
const std::string& example() {
    static const std::string record = joinLines(ExampleRecordLines);
    return record;
}

class StageFileWrite : public ::testing::Test {
protected:
    void write(const std::string& bytes) { writeBytes(path, bytes); }
    std::string bytes() const { return readBytes(path); }
    // Only the stage file remains in the folder: no temporary file is left behind.
    void expectNoLeftovers() const {
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"stages.map"});
    }

    TempFolder folder;
    std::string path = folder.file("stages.map");
    const std::string a = simpleRecord("a", 18, 10, '+');
    const std::string b = simpleRecord("bb", 25, 12, 'o');
    const std::string c = simpleRecord("c", 18, 11, '.');
};

TEST_F(StageFileWrite, ReplacingTheOnlyStageLeavesTheNewRecordAlone) {
    write(a);
    ZapiszEtap(path, "Etap 01", 0, exampleEtap());
    EXPECT_EQ(bytes(), example());
    EXPECT_EQ(bytes().size(), 305u);
    expectNoLeftovers();
}

TEST_F(StageFileWrite, ReplacingFirstMiddleOrLastKeepsEveryOtherStage) {
    const std::string records[] = {a, b, c};
    for (int index = 0; index < 3; ++index) {
        write(a + b + c);
        ZapiszEtap(path, "Etap 01", index, exampleEtap());
        std::string expected;
        for (int i = 0; i < 3; ++i) {
            expected += i == index ? example() : records[i];
        }
        EXPECT_EQ(bytes(), expected) << index;
    }
    expectNoLeftovers();
}

TEST_F(StageFileWrite, ANewNameAndHeightMoveTheLaterStagesUnchanged) {
    write(a + b + c);
    Etap tall = simpleEtap(60, 45, '*');
    ZapiszEtap(path, "a much longer name", 1, tall);
    EXPECT_EQ(bytes(), a + simpleRecord("a much longer name", 60, 45, '*') + c);
}

TEST_F(StageFileWrite, ReplaceReEndsEveryLineWithCrLf) {
    write(simpleRecord("a", 18, 10, '+', "\r") + simpleRecord("bb", 25, 12, 'o', "\r") +
          simpleRecord("c", 18, 11, '.', "\r"));
    ZapiszEtap(path, "Etap 01", 1, exampleEtap());
    EXPECT_EQ(bytes(), a + example() + c);
}

TEST_F(StageFileWrite, ReplaceDropsEverythingFromTheEndMarkOn) {
    write(a + b + "\x1a" + c);
    ZapiszEtap(path, "Etap 01", 0, exampleEtap());
    EXPECT_EQ(bytes(), example() + b);
}

TEST_F(StageFileWrite, ReplaceEndsAnUnendedLastLine) {
    std::string unended = a + b;
    unended.resize(unended.size() - 2);
    write(unended);
    ZapiszEtap(path, "Etap 01", 0, exampleEtap());
    EXPECT_EQ(bytes(), example() + b);
}

TEST_F(StageFileWrite, AStrayParenthesisNeverMakesTheReplaceCopyLinesTwice) {
    // Stage 0's colour text holds "(", so the third "(" line is stage 1's own name line, which
    // comes before stage 1's "}" line. The tail starts with stage 2's name line instead.
    std::string odd = a;
    odd.replace(odd.find(",55,"), 4, ",5(,");
    write(odd + b + c);
    ZapiszEtap(path, "Etap 01", 1, exampleEtap());
    EXPECT_EQ(bytes(), odd + example() + c);
}

TEST_F(StageFileWrite, AppendingToAMissingFileCreatesIt) {
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(bytes(), example());
    expectNoLeftovers();
}

TEST_F(StageFileWrite, AppendingAddsTheRecordAfterTheLastStage) {
    write(a + b);
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(bytes(), a + b + example());
}

TEST_F(StageFileWrite, AppendingCopiesTheFileAsItIsUpToItsEndMark) {
    struct Case {
        std::string before;
        std::string kept;
    };
    const std::string crOnly = simpleRecord("a", 18, 10, '+', "\r");
    const Case cases[] = {
        {a + "\x1a", a},          // the mark at the very end goes
        {a + "\x1a" + b, a},      // and anywhere else, with all after it
        {std::string(1, 26), ""}, // a file of only the mark
        {crOnly, crOnly},         // the old line ends stay as they are
        {"x\r\ny", "x\r\ny\r\n"}, // an unended last line is ended first
        {"x\n", "x\n\r\n"},       // an LF alone does not end a line
        {"x\r", "x\r"},           // a CR alone does
        {"x\r\n\x1a\r\n", "x\r\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        write(c.before);
        ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
        EXPECT_EQ(bytes(), c.kept + example()) << ::testing::PrintToString(c.before);
    }
}

TEST_F(StageFileWrite, TheStartAndExitRuleGuardsEveryIndexButMinusOne) {
    Etap noStart = exampleEtap();
    noStart.plansza.at(1, 1) = '+';
    noStart.plansza.at(0, 1) = 'S'; // the ring is not counted
    Etap twoExits = exampleEtap();
    twoExits.plansza.at(2, 2) = 'W';
    for (const Etap& broken : {noStart, twoExits}) {
        write(a + b);
        for (const int index : {0, 1, 5, -2, -100}) {
            EXPECT_THROW(ZapiszEtap(path, "x", index, broken), StartExitMessage) << index;
            EXPECT_EQ(bytes(), a + b);
        }
        ZapiszEtap(path, "x", AppendIndex, broken);
        EXPECT_EQ(bytes().substr(0, (a + b).size()), a + b);
    }
    // The rule comes before anything is created.
    const std::string missing = folder.file("missing.map");
    EXPECT_THROW(ZapiszEtap(missing, "x", -2, noStart), StartExitMessage);
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(StageFileWrite, TheRingIsNeverWritten) {
    Etap etap = exampleEtap();
    etap.plansza.at(19, 3) = 'W';
    etap.plansza.at(5, 11) = 'S';
    write(a);
    ZapiszEtap(path, "Etap 01", 0, etap);
    EXPECT_EQ(bytes(), example());
}

TEST_F(StageFileWrite, AReplaceAtAnIndexThatNamesNoStageIsRefused) {
    write(a + b);
    for (const int index : {2, 3, 1000}) {
        try {
            ZapiszEtap(path, "x", index, exampleEtap());
            ADD_FAILURE() << "wrote at " << index;
        } catch (const WriteRefused& refusal) {
            const std::string text = refusal.what();
            EXPECT_NE(text.find(std::to_string(index)), std::string::npos) << text;
            EXPECT_NE(text.find(path), std::string::npos) << text;
        }
        EXPECT_EQ(bytes(), a + b);
    }
    expectNoLeftovers();
    const std::string missing = folder.file("missing.map");
    EXPECT_THROW(ZapiszEtap(missing, "x", 0, exampleEtap()), WriteRefused);
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(StageFileWrite, MarkerCharactersInANameOrColourTextAreRefused) {
    write(a + b);
    for (const std::string& name : std::vector<std::string>{"a}b", "a\rb", "a\nb", "a\x1a", "}"}) {
        EXPECT_FALSE(nameProblem(name).empty());
        for (const int index : {0, AppendIndex}) {
            EXPECT_THROW(ZapiszEtap(path, name, index, exampleEtap()), WriteRefused);
        }
        EXPECT_THROW(ZmienNazweEtapu(path, 0, name), WriteRefused);
    }
    for (const std::string& colours :
         std::vector<std::string>{"1}", "(1", "a\rb", "a\nb", "\x1a"}) {
        EXPECT_FALSE(colourTextProblem(colours).empty());
        Etap etap = exampleEtap();
        etap.parametry.Kolory = colours;
        EXPECT_THROW(ZapiszEtap(path, "x", AppendIndex, etap), WriteRefused);
    }
    EXPECT_EQ(bytes(), a + b);
    EXPECT_THROW(ZapiszEtap(folder.file("new.map"), "}", AppendIndex, exampleEtap()), WriteRefused);
    EXPECT_FALSE(fs::exists(folder.file("new.map")));
    expectNoLeftovers();
}

TEST_F(StageFileWrite, ProblemTextsSayWhatIsWrongAndHarmlessTextsPass) {
    EXPECT_EQ(nameProblem("Etap (2) {x}"), "Nazwa etapu nie może zawierać znaku „}”: przesunąłby "
                                           "on położenie wszystkich dalszych etapów w pliku.");
    EXPECT_EQ(nameProblem(""), "");
    EXPECT_EQ(nameProblem("Etap (2) {x)"), "");
    EXPECT_EQ(nameProblem("\xb9\xea"), ""); // Polish letters as stored bytes
    EXPECT_EQ(colourTextProblem(DomyslneKolory), "");
    EXPECT_EQ(colourTextProblem("{)"), "");
    EXPECT_EQ(colourTextProblem("a(b"), "Tekst kolorów nie może zawierać znaku „(”: przesunąłby on "
                                        "położenie wszystkich dalszych etapów w pliku.");
    EXPECT_EQ(nameProblem("a\r"), "Nazwa etapu nie może zawierać znaku końca wiersza.");
}

TEST_F(StageFileWrite, AnOversizedStageInMemoryIsWrittenWithinTheArray) {
    Etap big = simpleEtap(80, 80, '+');
    big.parametry.Szer = 99;
    big.parametry.Wys = 99;
    ZapiszEtap(path, "big", AppendIndex, big);
    EXPECT_EQ(bytes(), simpleRecord("big", 80, 80, '+'));
}

TEST_F(StageFileWrite, WritingAndReadingBackGivesTheSameStage) {
    Etap etap = simpleEtap(33, 21, 'o');
    etap.parametry.IleD = 999;
    etap.parametry.PktD = 1;
    etap.parametry.MagMur = 0;
    etap.parametry.RozL = 7;
    etap.parametry.LawP = 70;
    etap.parametry.CzasG = 5;
    etap.parametry.Typ = 'B';
    etap.plansza.at(3, 3) = '\xb9';
    ZapiszEtap(path, "Pierwszy \xb9", AppendIndex, exampleEtap());
    ZapiszEtap(path, " ", AppendIndex, etap);
    EXPECT_EQ(CzytajListeEtapow(path), (std::vector<std::string>{"Pierwszy \xb9", " "}));
    Etap loaded;
    CzytajEtap(path, 1, loaded);
    EXPECT_EQ(loaded, etap);
}

TEST_F(StageFileWrite, ColourTextsComeBackAsTheReaderTakesThem) {
    const std::string usual = DomyslneKolory;
    const std::pair<std::string, std::string> cases[] = {
        {usual, usual}, {"1,2", "1,2,"}, {usual + ",77", usual}, {"", ","}};
    for (const auto& [written, read] : cases) {
        Etap etap = exampleEtap();
        etap.parametry.Kolory = written;
        write("");
        ZapiszEtap(path, "k", AppendIndex, etap);
        Etap loaded;
        CzytajEtap(path, 0, loaded);
        EXPECT_EQ(loaded.parametry.Kolory, read) << written;
    }
}

TEST_F(StageFileWrite, RenameRewritesTheNameLineOnly) {
    const std::string crB = simpleRecord("bb", 25, 12, 'o', "\r");
    write(a + crB + c);
    ZmienNazweEtapu(path, 1, "nowa nazwa");
    EXPECT_EQ(bytes(), a + simpleRecord("nowa nazwa", 25, 12, 'o') + c);
    ZmienNazweEtapu(path, 2, "");
    EXPECT_EQ(bytes(), a + simpleRecord("nowa nazwa", 25, 12, 'o') + simpleRecord("", 18, 11, '.'));
    expectNoLeftovers();
}

TEST_F(StageFileWrite, RenameNeedsNoStartOrExit) {
    std::string noStart = a;
    noStart[noStart.find('S')] = '+';
    write(noStart);
    ZmienNazweEtapu(path, 0, "z");
    EXPECT_EQ(bytes(), "(z)" + noStart.substr(3));
}

TEST_F(StageFileWrite, RenameAtAnIndexThatNamesNoStageIsRefused) {
    write(a);
    EXPECT_THROW(ZmienNazweEtapu(path, 1, "z"), WriteRefused);
    EXPECT_THROW(ZmienNazweEtapu(path, -1, "z"), WriteRefused);
    EXPECT_EQ(bytes(), a);
    EXPECT_THROW(ZmienNazweEtapu(folder.file("none.map"), 0, "z"), WriteRefused);
    expectNoLeftovers();
}

TEST_F(StageFileWrite, PermissionsOfTheStageFileAreKept) {
    write(a);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ZapiszEtap(path, "Etap 01", 0, exampleEtap());
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(StageFileWrite, AWriteThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    write(a);
    fs::create_directory(folder.path() / "sub");
    const std::string link = (folder.path() / "sub" / "link.map").string();
    fs::create_symlink("../stages.map", link);
    ZapiszEtap(link, "Etap 01", 0, exampleEtap());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(bytes(), example());
    ZmienNazweEtapu(link, 0, "Z");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(bytes().substr(0, 5), "(Z)\r\n");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"stages.map", "sub"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "sub"), {}), 1);
}

TEST_F(StageFileWrite, NoTemporaryFileAppearsInTheWorkingDirectory) {
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    write(a);
    ZapiszEtap(path, "Etap 01", 0, exampleEtap());
    fs::current_path(before);
    expectNoLeftovers();
}

TEST_F(StageFileWrite, TwoProcessesAppendingTakeTurns) {
    constexpr int PerWriter = 25;
    write(a);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const char fill = child == 0 ? 'o' : '.';
    int failures = 0;
    for (int i = 0; i < PerWriter; ++i) {
        try {
            ZapiszEtap(path, std::string(1, fill), AppendIndex, simpleEtap(18, 10, fill));
        } catch (...) {
            ++failures;
        }
    }
    if (child == 0) {
        _exit(failures == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(failures, 0);
    const std::vector<std::string> names = CzytajListeEtapow(path);
    ASSERT_EQ(names.size(), 1u + 2 * PerWriter);
    const std::string content = bytes();
    std::size_t expectedSize = a.size();
    for (std::size_t i = 1; i < names.size(); ++i) {
        expectedSize += simpleRecord(names[i], 18, 10, names[i][0]).size();
    }
    EXPECT_EQ(content.size(), expectedSize);
    EXPECT_EQ(std::count(names.begin(), names.end(), "o"), PerWriter);
    EXPECT_EQ(std::count(names.begin(), names.end(), "."), PerWriter);
    for (int i = 0; i <= 2 * PerWriter; ++i) {
        Etap loaded;
        CzytajEtap(path, i, loaded);
        EXPECT_EQ(loaded, simpleEtap(18, 10, i == 0 ? '+' : names[i][0])) << i;
    }
    expectNoLeftovers();
}

} // namespace
} // namespace krelwin
