// The quick pass of the file check takes a pack only when every record stands as the editor
// writes it; one thing out of place anywhere and it leaves the file to the full check.
#include "clean_pack.h"
#include "file_system.h"
#include "stage_check.h"
#include "test_stage_file_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

struct Pack {
    const char* what;
    std::string bytes;
    std::optional<long> stages; // nothing: not a clean pack
    bool bytesAfterEndMark = false;
    long cleanStages = 0; // when not clean: the clean records before the first that is not
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(CleanPack, TakesOnlyRecordsAsTheEditorWritesThem) {
    const std::string a = simpleRecord("a", 18, 10, '+');
    const std::string b = simpleRecord("b (2)", 80, 80, 'o');
    std::string many; // 200 records of 80 x 80: records lie across the reading blocks
    for (int i = 0; i < 200; ++i) {
        many += simpleRecord("s", 80, 80, '+');
    }
    const std::string row = std::string(17, '+') + "W"; // a's last row
    const std::vector<Pack> packs = {
        {"two records", a + b, 2},
        {"many records", many, 200},
        {"a byte 26 at the end", a + "\x1a", 1},
        {"data after a byte 26", a + "\x1a" + "x", 1, true},
        {"empty", "", std::nullopt},
        {"a line before the first stage", "\r\n" + a, std::nullopt},
        {"an empty line after the last", a + "\r\n", std::nullopt, false, 1},
        {"a last line without its line end", a.substr(0, a.size() - 2), std::nullopt},
        {"a record cut short by a byte 26", a + b.substr(0, 500) + "\x1a", std::nullopt, false, 1},
        {"CR-only line ends", replaced(a, "}\r\n", "}\r"), std::nullopt},
        {"LF-only line ends", replaced(a, "(a)\r\n", "(a)\n"), std::nullopt},
        {"a name line without parentheses", replaced(a, "(a)", "a"), std::nullopt},
        {"a } in a name", replaced(a, "(a)", "(a})"), std::nullopt},
        {"a } after the colours", replaced(a, ",55,", ",55,}"), std::nullopt},
        {"a ( in the colours", replaced(a, ",55,", ",5(,"), std::nullopt},
        {"a short colour text", replaced(a, ",55,", ","), std::nullopt},
        {"a colour text one byte short", replaced(a, "55,", "5"), std::nullopt},
        {"a width out of range", replaced(a, "18,10,", "17,10,"), std::nullopt},
        {"a number that does not convert", replaced(a, "18,10,010", "18,10,0x0"), std::nullopt},
        {"a type other than Z or B", replaced(a, ",Z,", ",X,"), std::nullopt},
        {"an extra row", a + row + "\r\n", std::nullopt, false, 1},
        {"a row too short", replaced(a, row + "\r\n", row.substr(1) + "\r\n"), std::nullopt},
        {"a row too long, the next short", replaced(a, "+\r\n+", "++\r\n"), std::nullopt},
        {"a ( in a row", replaced(a, row, "(" + row.substr(1)), std::nullopt},
        {"a code outside the alphabet", replaced(a, row, "x" + row.substr(1)), std::nullopt},
        {"an LF in a row", replaced(a, row, "\n" + row.substr(1)), std::nullopt},
        {"two exits", replaced(a, row, "W" + row.substr(1)), std::nullopt},
        {"no exit", replaced(a, row, std::string(18, '+')), std::nullopt},
        {"a { line with more", replaced(a, "\r\n{\r\n", "\r\n{ \r\n"), std::nullopt},
    };
    TempFolder folder;
    for (const Pack& pack : packs) {
        writeBytes(folder.file("f"), pack.bytes);
        const FileDescriptor fd = openFile(folder.file("f"), O_RDONLY);
        const CleanPack clean = readCleanPack(fd.get());
        EXPECT_EQ(clean.complete, pack.stages.has_value()) << pack.what;
        if (pack.stages) {
            EXPECT_EQ(clean.stages, *pack.stages) << pack.what;
            EXPECT_EQ(clean.bytesAfterEndMark, pack.bytesAfterEndMark) << pack.what;
        } else {
            EXPECT_EQ(clean.stages, pack.cleanStages) << pack.what;
        }
        // Whatever the quick pass said, the check reports a clean pack's stages only for their
        // number, a byte 26 with data after it, and as warnings their diamonds: they hold none.
        if (pack.stages) {
            const std::vector<StageProblem> problems = findStageProblems(folder.file("f"));
            EXPECT_EQ(clean.fewerDiamonds.size(), static_cast<std::size_t>(*pack.stages));
            EXPECT_EQ(problems.size(),
                      static_cast<std::size_t>(*pack.stages + (*pack.stages > 100) +
                                               pack.bytesAfterEndMark))
                << pack.what;
        }
    }
}

// Where the quick pass stops, the full check takes over from the last clean record, which a
// fault in the record after it can touch too; every stage keeps its index.
TEST(CleanPack, TheFullCheckTakesOverWhereThePassStops) {
    std::vector<std::string> records(150, simpleRecord("s", 18, 10, '*'));
    const std::string row = std::string(17, '*') + "W";
    const auto packWith = [&](int index, const std::string& record) {
        std::vector<std::string> changed = records;
        changed[index] = record;
        std::string all;
        for (const std::string& each : changed) {
            all += each;
        }
        return all;
    };
    const std::string clean = records[0];
    const std::string pastTheList =
        "100: etapy 100..149 są poza listą etapów edytora, która mieści pierwsze 100";
    const std::string pastTheListByOne =
        "100: etapy 100..150 są poza listą etapów edytora, która mieści pierwsze 100";
    const std::string braceLineNotAlone =
        "120: wiersz liczony jako „}” etapu nie jest samym „}” (znak „}” w nazwie, kolorach albo "
        "planszy); dalsze etapy mają przesunięte numery";
    std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {packWith(120, replaced(clean, row, "W" + row.substr(1))),
         {"120: wymagana dokładnie jedna pozycja startowa i jedno wyjście, a jest S: 1, W: 2",
          pastTheList}},
        // The name line of stage 120 counts as its "}" line: stage 119 loses its last row.
        {packWith(120, replaced(clean, "(s)", "(s})")),
         {"119: brakuje wierszy planszy: jest 9 z 10", braceLineNotAlone, pastTheListByOne}},
        {packWith(120, clean + row + "\r\n"),
         {"120: nadmiarowe wiersze po planszy (ponad wysokość 10): 1", pastTheList}},
        {packWith(119, replaced(clean, row, "}" + row.substr(1))),
         {"119: brakuje wierszy planszy: jest 8 z 10",
          "119: pole w wierszu 10, kolumnie 1 zawiera znak „}”; edytor odmówi zapisu tego etapu",
          braceLineNotAlone, pastTheListByOne}},
    };
    // A stage short of diamonds: warned of once, by the quick pass or by the full check.
    const std::string noDiamonds = simpleRecord("s", 18, 10, '+');
    records[1] = noDiamonds;
    records[119] = noDiamonds;
    records[121] = noDiamonds;
    const std::string fewerDiamonds = ": ostrzeżenie: mniej diamentów na planszy (0) niż do "
                                      "zebrania (10)";
    cases.push_back(
        {packWith(120, replaced(clean, row, "$" + row.substr(1))),
         {"1" + fewerDiamonds, "119" + fewerDiamonds,
          "120: pole w wierszu 10, kolumnie 1 zawiera nieznany znak „$”; edytor pokazuje je jako "
          "puste",
          "121" + fewerDiamonds, pastTheList}});
    TempFolder folder;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        writeBytes(folder.file("f" + std::to_string(i)), cases[i].first);
        std::vector<std::string> lines;
        for (const StageProblem& problem :
             findStageProblems(folder.file("f" + std::to_string(i)))) {
            lines.push_back(problemLine(problem));
        }
        EXPECT_EQ(lines, cases[i].second) << i;
    }
}

} // namespace
} // namespace krelwin::stagetest
