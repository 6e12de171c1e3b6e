// The merge of three pack files into ours: records taken whole from the side that changed them,
// conflicts kept side by side, every line ended by CR LF, and packs whose records do not stand on
// their own refused with ours untouched.
#include "errors.h"
#include "pack_merge.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

class PackMerge : public StageFileTest {
protected:
    std::string base = folder.file("base.map");
    std::string theirs = folder.file("theirs.map");

    std::vector<MergeConflict> merge(const std::string& baseContent, const std::string& oursContent,
                                     const std::string& theirsContent) {
        writeBytes(base, baseContent);
        write(oursContent);
        writeBytes(theirs, theirsContent);
        return mergePacks(base, path, theirs);
    }
    void expectOnlyTheThreeFiles() const {
        EXPECT_EQ(folder.entries(),
                  (std::vector<std::string>{"base.map", "stages.map", "theirs.map"}));
    }
};

TEST_F(PackMerge, TakesEachSidesChangesWholeWithLinesEndedByCrLf) {
    const std::string changedA = simpleRecord("a", 18, 10, '*');
    const std::string changedC = simpleRecord("c", 18, 11, 'o');
    std::string theirsCrOnly = a + b + changedC;
    std::erase(theirsCrOnly, '\n');
    EXPECT_TRUE(merge(a + b + c, changedA + b + c, theirsCrOnly).empty());
    EXPECT_EQ(bytes(), changedA + b + changedC);
    // A base written with other line ends: the same stages.
    std::string baseCrOnly = a + b + c;
    std::erase(baseCrOnly, '\n');
    EXPECT_TRUE(merge(baseCrOnly, a + c, a + b + c + "\x1a").empty());
    EXPECT_EQ(bytes(), a + c);
    expectOnlyTheThreeFiles();
}

TEST_F(PackMerge, KeepsTheirVersionOfAConflictRightAfterOurs) {
    const std::string ours = simpleRecord("bb", 25, 12, '*');
    const std::string theirsB = simpleRecord("bb", 25, 12, '.');
    const std::vector<MergeConflict> conflicts = merge(a + b + c, a + ours + c, a + theirsB + c);
    EXPECT_EQ(bytes(), a + ours + simpleRecord("bb (konflikt)", 25, 12, '.') + c);
    EXPECT_EQ(conflicts, (std::vector<MergeConflict>{
                             {MergeConflict::Kind::ChangedOnBoth, 1, "bb", 2, "bb (konflikt)"}}));
}

TEST_F(PackMerge, RefusesRecordsThatDoNotStandOnTheirOwnAndLeavesOursAsItWas) {
    const std::string missingRows = a.substr(0, a.size() - 2 * 20); // 2 rows of 18 cells
    std::string openingInRow = a;
    openingInRow[a.find("+\r\n") - 4] = '(';
    const std::vector<std::pair<const char*, std::string>> faults{
        {"lines before the first stage", "komentarz\r\n" + a},
        {"data after a byte 26", a + "\x1a" + "reszta"},
        {"a \"(\" in a row", openingInRow},
        {"rows missing", missingRows + b},
        {"a \"}\" line that is not \"}\" alone", "(x)\r\n}}\r\n" + a.substr(a.find("18,"))},
        {"no name line", a.substr(a.find("}"))},
    };
    for (const auto& [what, content] : faults) {
        for (const int side : {0, 1, 2}) {
            const std::string ours = side == 1 ? content : a;
            EXPECT_THROW(merge(side == 0 ? content : a, ours, side == 2 ? content : c),
                         WriteRefused)
                << what << ", side " << side;
            EXPECT_EQ(bytes(), ours) << what;
        }
    }
    writeBytes(base, a);
    write(missingRows + b);
    try {
        mergePacks(base, path, base);
        FAIL() << "merged";
    } catch (const WriteRefused& refusal) {
        EXPECT_EQ(std::string(refusal.what()),
                  "Nie można scalić: nasza wersja (" + path +
                      ") ma w etapie nr 0 błąd: brakuje wierszy planszy: jest 8 z 10, więc gra "
                      "doczytałaby je z następnego etapu. Plik " +
                      path + " nie został zmieniony.");
    }
    expectOnlyTheThreeFiles();
}

} // namespace
} // namespace krelwin::stagetest
