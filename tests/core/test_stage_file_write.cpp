#include "errors.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

namespace fs = std::filesystem;

struct WriteCase {
    const char* what;
    std::string before;
    std::string after;
};

class StageFileWrite : public StageFileTest {
protected:
    void expectEachCase(const std::vector<WriteCase>& cases, int index) {
        for (const WriteCase& c : cases) {
            write(c.before);
            ZapiszEtap(path, "Etap 01", index, exampleEtap());
            EXPECT_EQ(bytes(), c.after) << c.what;
        }
        expectOnlyTheStageFile();
    }
    const std::string& e = exampleRecord();
};

// A replace keeps every other record byte for byte, but rewrites line ends to CR LF and drops
// whatever follows byte 26.
TEST_F(StageFileWrite, ReplaceSwapsOneRecordAtFirstMiddleAndLast) {
    EXPECT_EQ(e.size(), 305u);
    const std::string crOnly = simpleRecord("a", 18, 10, '+', "\r") +
                               simpleRecord("bb", 25, 12, 'o', "\r") +
                               simpleRecord("c", 18, 11, '.', "\r");
    const std::string unended = (a + b).substr(0, (a + b).size() - 2);
    // A "(" in stage 0's colour text makes a third "(" line before stage 1's "}" line; the
    // copied tail must still start at stage 2's name line.
    std::string paren = a;
    paren.replace(paren.find(",55,"), 4, ",5(,");
    expectEachCase({{"the only stage", a, e},
                    {"first of three", a + b + c, e + b + c},
                    {"byte 26 ends the file", a + b + "\x1a" + c, e + b},
                    {"an unended last line", unended, e + b}},
                   0);
    expectEachCase({{"middle", a + b + c, a + e + c},
                    {"CR-only line ends", crOnly, a + e + c},
                    {"a stray ( in a colour text", paren + b + c, paren + e + c}},
                   1);
    expectEachCase({{"last", a + b + c, a + b + e}}, 2);
}

TEST_F(StageFileWrite, AppendCopiesTheFileUpToItsFirstByte26AndEndsItsLastLine) {
    const std::string crOnly = simpleRecord("a", 18, 10, '+', "\r");
    expectEachCase({{"after the last stage", a + b, a + b + e},
                    {"mark at the very end", a + "\x1a", a + e},
                    {"mark with more after it", a + "\x1a" + b + "\x1a", a + e},
                    {"only the mark", "\x1a", e},
                    {"old line ends stay", crOnly, crOnly + e},
                    {"unended last line", "x\r\ny", "x\r\ny\r\n" + e},
                    {"LF alone ends no line", "x\n", "x\n\r\n" + e},
                    {"CR alone does", "x\r", "x\r" + e},
                    {"empty file", "", e}},
                   AppendIndex);
    fs::remove(path);
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    EXPECT_EQ(bytes(), e) << "a missing file is created";
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
        EXPECT_TRUE(bytes().starts_with(a + b));
    }
    const std::string missing = folder.file("missing.map");
    EXPECT_THROW(ZapiszEtap(missing, "x", -2, noStart), StartExitMessage);
    EXPECT_FALSE(fs::exists(missing)) << "the rule comes before anything is created";
}

TEST_F(StageFileWrite, AReplaceOrRenameAtAnIndexThatNamesNoStageIsRefused) {
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
        EXPECT_THROW(ZmienNazweEtapu(path, index, "z"), WriteRefused);
    }
    EXPECT_THROW(ZmienNazweEtapu(path, -1, "z"), WriteRefused);
    EXPECT_EQ(bytes(), a + b);
    expectOnlyTheStageFile();
    const std::string missing = folder.file("missing.map");
    EXPECT_THROW(ZapiszEtap(missing, "x", 0, exampleEtap()), MissingFileMessage);
    EXPECT_THROW(ZmienNazweEtapu(missing, 0, "z", "a"), MissingFileMessage);
    EXPECT_FALSE(fs::exists(missing));
}

// Another program may have changed the file since the caller's list was read: a write by
// position goes ahead only where the list's name still stands.
TEST_F(StageFileWrite, AWriteByPositionNeedsTheNameTheListShowsThere) {
    // Stage 1's "}" line is a name line holding "}", so the list names stage 1 and stage 2 "".
    const std::string odd = "(a)\r\n}\r\n(x}y)\r\n}\r\n" + b;
    write(odd);
    ASSERT_EQ(CzytajListeEtapow(path), (std::vector<std::string>{"a", "", "", "bb"}));
    const std::string refusal = "Plik " + path +
                                " został w międzyczasie zmieniony przez inny program: etap nr 3 "
                                "nie jest już tym etapem, który pokazuje lista. Plik nie został "
                                "zmieniony.";
    for (const auto& [index, expected] : std::vector<std::pair<int, std::string>>{
             {2, "x}y"}, {3, "BB"}, {3, "bb "}, {4, ""}, {2, "a"}}) {
        SCOPED_TRACE(index);
        try {
            ZapiszEtap(path, "n", index, exampleEtap(), expected);
            ADD_FAILURE() << "wrote over a changed stage";
        } catch (const FileChangedMessage& changed) {
            if (index == 2) {
                EXPECT_EQ(changed.what(), refusal);
            }
        }
        EXPECT_THROW(ZmienNazweEtapu(path, index, "n", expected), FileChangedMessage);
    }
    EXPECT_EQ(bytes(), odd);
    expectOnlyTheStageFile();

    EXPECT_EQ(ZapiszEtap(path, "Etap 01", 3, exampleEtap(), "bb"), 3);
    EXPECT_EQ(bytes(), "(a)\r\n}\r\n(x}y)\r\n}\r\n" + e);
    EXPECT_NO_THROW(ZmienNazweEtapu(path, 2, "r", ""));
}

TEST_F(StageFileWrite, AnAppendReturnsThePositionItWroteAt) {
    std::string many;
    for (int i = 0; i < 150; ++i) {
        many += simpleRecord("s", 80, 80, '+'); // large enough to span several read blocks
    }
    const std::vector<std::pair<std::string, int>> cases{{"", 0},
                                                         {a + b, 2},
                                                         {a + "\x1a" + b, 1},
                                                         {"(a)\r\n}", 1},
                                                         {"(a)\r\n}}x}\r\n(x}y)\r\n}\r\n" + b, 4},
                                                         {many, 150}};
    for (const auto& [before, position] : cases) {
        write(before);
        EXPECT_EQ(ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap()), position);
        Etap loaded;
        CzytajEtap(path, position, loaded);
        EXPECT_EQ(loaded, exampleEtap());
    }
    fs::remove(path);
    EXPECT_EQ(ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap(), "ignored"), 0);
}

TEST_F(StageFileWrite, MarkerCharactersInANameOrColourTextAreRefused) {
    write(a + b);
    for (const std::string name : {"a}b", "a\rb", "a\nb", "a\x1a", "}"}) {
        EXPECT_FALSE(nameProblem(name).empty());
        EXPECT_THROW(ZapiszEtap(path, name, 0, exampleEtap()), WriteRefused);
        EXPECT_THROW(ZapiszEtap(path, name, AppendIndex, exampleEtap()), WriteRefused);
        EXPECT_THROW(ZmienNazweEtapu(path, 0, name), WriteRefused);
    }
    for (const std::string colours : {"1}", "(1", "a\rb", "a\nb", "\x1a"}) {
        EXPECT_FALSE(colourTextProblem(colours).empty());
        Etap etap = exampleEtap();
        etap.parametry.Kolory = colours;
        EXPECT_THROW(ZapiszEtap(path, "x", AppendIndex, etap), WriteRefused);
    }
    EXPECT_EQ(bytes(), a + b);
    EXPECT_THROW(ZapiszEtap(folder.file("new.map"), "}", AppendIndex, exampleEtap()), WriteRefused);
    expectOnlyTheStageFile();

    EXPECT_EQ(nameProblem("Etap (2) {x}"), "Nazwa etapu nie może zawierać znaku „}”: przesunąłby "
                                           "on położenie wszystkich dalszych etapów w pliku.");
    EXPECT_EQ(nameProblem("a\r"), "Nazwa etapu nie może zawierać znaku końca wiersza.");
    EXPECT_EQ(colourTextProblem("a(b"), "Tekst kolorów nie może zawierać znaku „(”: przesunąłby on "
                                        "położenie wszystkich dalszych etapów w pliku.");
    for (const std::string harmless : {"", "Etap (2) {x)", "\xb9\xea"}) {
        EXPECT_EQ(nameProblem(harmless), "");
    }
    EXPECT_EQ(colourTextProblem(DomyslneKolory), "");
    EXPECT_EQ(colourTextProblem("{)"), "");
}

TEST_F(StageFileWrite, OnlyTheInteriorWithinTheArrayIsWritten) {
    Etap ring = exampleEtap();
    ring.plansza.at(19, 3) = 'W';
    ring.plansza.at(5, 11) = 'S';
    Etap big = simpleEtap(80, 80, '+');
    big.parametry.Szer = 99;
    big.parametry.Wys = 99;
    ZapiszEtap(path, "Etap 01", AppendIndex, ring);
    ZapiszEtap(path, "big", AppendIndex, big);
    EXPECT_EQ(bytes(), exampleRecord() + simpleRecord("big", 80, 80, '+'));
}

TEST_F(StageFileWrite, WritingAndReadingBackGivesTheSameStage) {
    Etap etap = simpleEtap(33, 21, 'o');
    etap.parametry = {33, 21, 999, 1, 0, 7, 70, 5, 'B', DomyslneKolory};
    etap.plansza.at(3, 3) = '\xb9';
    ZapiszEtap(path, "Pierwszy \xb9", AppendIndex, exampleEtap());
    ZapiszEtap(path, " ", AppendIndex, etap);
    EXPECT_EQ(CzytajListeEtapow(path), (std::vector<std::string>{"Pierwszy \xb9", " "}));
    Etap loaded;
    CzytajEtap(path, 1, loaded);
    EXPECT_EQ(loaded, etap);
}

TEST_F(StageFileWrite, RenameRewritesTheNameLineOnlyAndNeedsNoStartOrExit) {
    std::string noStart = a;
    noStart[noStart.find('S')] = '+';
    write(noStart + simpleRecord("bb", 25, 12, 'o', "\r") + c);
    ZmienNazweEtapu(path, 1, "nowa nazwa");
    ZmienNazweEtapu(path, 2, "");
    ZmienNazweEtapu(path, 0, "z");
    EXPECT_EQ(bytes(), "(z)" + noStart.substr(3) + simpleRecord("nowa nazwa", 25, 12, 'o') +
                           simpleRecord("", 18, 11, '.'));
    expectOnlyTheStageFile();
}

TEST_F(StageFileWrite, PermissionsAreKeptAndNoTemporaryFileAppearsInTheWorkingDirectory) {
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    write(a);
    fs::permissions(path, mode);
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    ZapiszEtap(path, "Etap 01", 0, exampleEtap());
    EXPECT_EQ(fs::status(path).permissions(), mode);
    ZapiszEtap(path, "Etap 01", AppendIndex, exampleEtap());
    fs::current_path(before);
    EXPECT_EQ(fs::status(path).permissions(), mode);
    expectOnlyTheStageFile();
}

} // namespace
} // namespace krelwin::stagetest
