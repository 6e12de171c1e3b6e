// Deleting, moving and duplicating stages: whole records change places, every other byte stays
// as it was, apart from the line ends and the byte 26 that every write mends.
#include "errors.h"
#include "stage_file.h"
#include "test_stage_file_support.h"

#include <functional>
#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

using Operation = std::function<void(const std::string& path)>;

struct Rearrangement {
    const char* what;
    std::string before;
    Operation operation;
    std::string after;
};

Operation deleting(int index) {
    return [=](const std::string& path) { deleteStage(path, index); };
}
Operation moving(int from, int to) {
    return [=](const std::string& path) { moveStage(path, from, to); };
}
Operation duplicating(int index, std::optional<std::string> name = std::nullopt) {
    return
        [=](const std::string& path) { EXPECT_EQ(duplicateStage(path, index, name), index + 1); };
}

class StageRearrange : public StageFileTest {
protected:
    void expectEach(const std::vector<Rearrangement>& cases) {
        for (const Rearrangement& c : cases) {
            write(c.before);
            c.operation(path);
            EXPECT_EQ(bytes(), c.after) << c.what;
        }
        expectOnlyTheStageFile();
    }
};

TEST_F(StageRearrange, AtTheFirstAMiddleAndTheLastStage) {
    const std::string abc = a + b + c;
    const std::string kopia = simpleRecord("kopia", 25, 12, 'o'); // b under another name
    expectEach({{"delete first", abc, deleting(0), b + c},
                {"delete middle", abc, deleting(1), a + c},
                {"delete last", abc, deleting(2), a + b},
                {"delete the only stage", a, deleting(0), ""},
                {"move first to last", abc, moving(0, 2), b + c + a},
                {"move last to first", abc, moving(2, 0), c + a + b},
                {"move middle down", abc, moving(1, 2), a + c + b},
                {"move middle up", abc, moving(1, 0), b + a + c},
                {"move to its own place", abc, moving(1, 1), abc},
                {"duplicate first", abc, duplicating(0), a + a + b + c},
                {"duplicate middle under a name", abc, duplicating(1, "kopia"), a + b + kopia + c},
                {"duplicate last", abc, duplicating(2), abc + c}});
}

TEST_F(StageRearrange, PastTheHundredthStage) {
    std::vector<std::string> records;
    for (int i = 0; i < 120; ++i) {
        records.push_back("(s" + std::to_string(i) + ")\r\n}\r\np\r\n{\r\nrow " +
                          std::to_string(i) + "\r\n");
    }
    const auto joined = [](const std::vector<std::string>& parts) {
        std::string all;
        for (const std::string& part : parts) {
            all += part;
        }
        return all;
    };
    std::vector<std::string> deleted = records;
    deleted.erase(deleted.begin() + 110);
    std::vector<std::string> firstToLast = records;
    firstToLast.erase(firstToLast.begin());
    firstToLast.push_back(records[0]);
    std::vector<std::string> lastTo105 = records;
    lastTo105.pop_back();
    lastTo105.insert(lastTo105.begin() + 105, records[119]);
    std::vector<std::string> duplicated = records;
    duplicated.insert(duplicated.begin() + 116, "(kopia)\r\n}\r\np\r\n{\r\nrow 115\r\n");
    const std::string all = joined(records);
    expectEach({{"delete 110", all, deleting(110), joined(deleted)},
                {"move 0 to 119", all, moving(0, 119), joined(firstToLast)},
                {"move 119 to 105", all, moving(119, 105), joined(lastTo105)},
                {"duplicate 115", all, duplicating(115, "kopia"), joined(duplicated)}});
    EXPECT_EQ(CzytajListeEtapow(path).size(), 100u);
}

// Stages written out line by line: p, q and r, tiny but whole to the rearranging writes.
const std::string P = "(p)\r\n}\r\nparam p\r\n{\r\np1\r\np2\r\n";
const std::string Q = "(q)\r\n}\r\nparam q\r\n{\r\nq1\r\n";
const std::string R = "(r)\r\n}\r\nparam r\r\n{\r\nr1\r\n";

TEST_F(StageRearrange, OddFilesKeepWhatPrecedesTheFirstStageAndGetCrLfLineEnds) {
    const std::string lead = "notatka\r\n\r\n";
    const std::string unendedR = R.substr(0, R.size() - 2);
    const std::string crOnly = "(p)\r}\rparam p\r{\rp1\rp2\r(q)\r}\rparam q\r{\rq1\r";
    expectEach(
        {{"lines before the first stage", lead + P + Q, deleting(0), lead + Q},
         {"lines before the first stage, moved over", lead + P + Q, moving(1, 0), lead + Q + P},
         {"a last record without a line end, moved", P + Q + unendedR, moving(2, 0), R + P + Q},
         {"a last record without a line end, duplicated", P + unendedR, duplicating(1), P + R + R},
         {"a last record without a line end, kept", P + Q + unendedR, deleting(0), Q + R},
         {"CR-only line ends", crOnly, moving(0, 1), Q + P},
         {"byte 26 and what follows it", P + Q + "\x1a" + R, deleting(1), P},
         {"LF inside a line is content", "(p\n)\r\n}\r\n" + Q, moving(0, 1),
          Q + "(p\n)\r\n}\r\n"}});
}

// A "(" or "}" where it does not belong moves with the record that holds it; a "}" in a row
// makes the rest of that record a stage of its own, as the stage list shows it.
TEST_F(StageRearrange, StrayMarkersStayInTheirRecords) {
    const std::string parenInRow = "(p)\r\n}\r\nparam p\r\n{\r\np(1\r\n(p2\r\n";
    const std::string parenInColours = "(p)\r\n}\r\nparam (p\r\n{\r\np1\r\n";
    const std::string braceInRow = "(p)\r\n}\r\nparam p\r\n{\r\np11\r\np}2\r\np3\r\n";
    expectEach({{"( in rows", parenInRow + Q + R, deleting(0), Q + R},
                {"( in rows, moved", parenInRow + Q + R, moving(0, 2), Q + R + parenInRow},
                {"( in the colours", Q + parenInColours + R, duplicating(1),
                 Q + parenInColours + parenInColours + R},
                {"} in a row: the stage it starts", braceInRow + Q, deleting(1),
                 "(p)\r\n}\r\nparam p\r\n{\r\n" + Q},
                {"} in a row: the stage before it", braceInRow + Q, deleting(0),
                 "p11\r\np}2\r\np3\r\n" + Q},
                {"} in a row: moved", braceInRow + Q, moving(2, 0), Q + braceInRow}});
}

TEST_F(StageRearrange, AnIndexThatNamesNoStageOrAChangedNameIsRefused) {
    const std::string abc = a + b + c;
    write(abc);
    const std::vector<std::pair<int, Operation>> refused = {
        {3, deleting(3)},    {-1, deleting(-1)},  {3, moving(3, 0)},         {3, moving(0, 3)},
        {-1, moving(0, -1)}, {-1, moving(-1, 0)}, {1000, duplicating(1000)}, {-2, duplicating(-2)}};
    for (const auto& [index, operation] : refused) {
        try {
            operation(path);
            ADD_FAILURE() << "wrote for " << index;
        } catch (const WriteRefused& refusal) {
            const std::string text = refusal.what();
            EXPECT_EQ(text, "Plik " + path + " nie zawiera etapu o numerze " +
                                std::to_string(index) +
                                " (liczba etapów w pliku: 3). Plik nie został zmieniony.");
        }
    }
    EXPECT_THROW(deleteStage(path, 1, "a"), FileChangedMessage);
    EXPECT_THROW(moveStage(path, 1, 0, "c"), FileChangedMessage);
    EXPECT_THROW(moveStage(path, 5, 0, "c"), FileChangedMessage);
    EXPECT_THROW(duplicateStage(path, 2, std::nullopt, "bb"), FileChangedMessage);
    EXPECT_THROW(duplicateStage(path, 0, "x}y"), WriteRefused);
    EXPECT_THROW(duplicateStage(path, 0, "x\ry"), WriteRefused);
    EXPECT_EQ(bytes(), abc);
    expectOnlyTheStageFile();

    moveStage(path, 2, 0, "c");
    EXPECT_EQ(bytes(), c + a + b);
    EXPECT_EQ(duplicateStage(path, 1, "kopia", "a"), 2);
    deleteStage(path, 2, "kopia");
    deleteStage(path, 0, "c");
    EXPECT_EQ(bytes(), a + b);

    const std::string missing = folder.file("missing.map");
    EXPECT_THROW(deleteStage(missing, 0), MissingFileMessage);
    EXPECT_THROW(moveStage(missing, 0, 1), MissingFileMessage);
    EXPECT_THROW(duplicateStage(missing, 0), MissingFileMessage);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

} // namespace
} // namespace krelwin::stagetest
