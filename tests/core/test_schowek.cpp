#include "schowek.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

// A 32 x 20 stage whose interior cells can be told apart; the ring holds "#".
Etap patternedStage() {
    Etap etap;
    for (int column = 1; column <= etap.parametry.Szer; ++column) {
        for (int row = 1; row <= etap.parametry.Wys; ++row) {
            etap.plansza.at(column, row) = static_cast<char>('A' + (column * 3 + row * 7) % 23);
        }
    }
    return etap;
}

int clipboardCells(const Schowek& schowek) {
    int count = 0;
    for (int column = 0; column < RozmiarPlanszy; ++column) {
        for (int row = 0; row < RozmiarPlanszy; ++row) {
            count += schowek.at(column, row) != 'x' ? 1 : 0;
        }
    }
    return count;
}

TEST(Schowek, CopyKeepsTheBlockAtItsPositionAndReplacesThePreviousBlock) {
    Schowek schowek;
    EXPECT_EQ(clipboardCells(schowek), 0);
    Etap etap = patternedStage();
    const Etap before = etap;
    EXPECT_TRUE(schowek.wklej(etap, Pole{1, 1}).empty()) << "an empty clipboard pastes nothing";
    schowek.kopiuj(etap.plansza, Zaznaczenie{4, 6, 6, 7});
    EXPECT_EQ(etap, before);
    EXPECT_EQ(clipboardCells(schowek), 6);
    EXPECT_EQ(schowek.at(4, 6), etap.plansza.at(4, 6));
    EXPECT_EQ(schowek.at(6, 7), etap.plansza.at(6, 7));
    schowek.kopiuj(etap.plansza, Zaznaczenie{0, 1, 0, 1});
    EXPECT_EQ(clipboardCells(schowek), 1);
    EXPECT_EQ(schowek.at(0, 1), '#') << "the ring is copied";
    schowek.kopiuj(etap.plansza, Zaznaczenie{-3, -3, 200, 200});
    EXPECT_EQ(clipboardCells(schowek), RozmiarPlanszy * RozmiarPlanszy) << "clamped to the array";
}

struct PasteCase {
    const char* what;
    Zaznaczenie copied;
    Pole target;
    Pole firstSource; // the block cell that lands on the target
    std::size_t count;
    Pole last; // the last cell written
};

// The paste walks the block row by row; a row that places nothing does not move the target.
TEST(Schowek, PastePutsTheBlocksCornerAtTheTargetAndWritesOnlyInteriorCells) {
    const PasteCase cases[] = {
        {"row for row", {2, 3, 4, 4}, {10, 12}, {2, 3}, 6, {12, 13}},
        {"far corner drops the rest", {2, 3, 4, 4}, {31, 20}, {2, 3}, 2, {32, 20}},
        {"falling below the stage stops", {1, 1, 2, 5}, {10, 19}, {1, 1}, 4, {11, 20}},
        {"left ring column never pasted", {0, 1, 2, 2}, {5, 5}, {1, 1}, 4, {6, 6}},
        {"right ring column pasted", {31, 1, 33, 2}, {1, 1}, {31, 1}, 6, {3, 2}},
        {"whole view onto itself", {0, 0, 33, 21}, {1, 1}, {1, 1}, 640, {32, 20}},
        {"target on the left ring", {2, 3, 4, 4}, {0, 5}, {}, 0, {}},
        {"target on the right ring", {2, 3, 4, 4}, {33, 5}, {}, 0, {}},
        {"target at the array's end", {2, 3, 4, 4}, {81, 81}, {}, 0, {}},
        {"target outside the array", {2, 3, 4, 4}, {-1, 5}, {}, 0, {}},
    };
    for (const PasteCase& c : cases) {
        SCOPED_TRACE(c.what);
        Etap etap = patternedStage();
        const Etap before = etap;
        Schowek schowek;
        schowek.kopiuj(etap.plansza, c.copied);
        const ZapisanePola written = schowek.wklej(etap, c.target);
        ASSERT_EQ(written.size(), c.count);
        if (c.count == 0) {
            EXPECT_EQ(etap, before);
            continue;
        }
        EXPECT_EQ(written.front(), c.target);
        EXPECT_EQ(written.back(), c.last);
        Etap expected = before;
        for (const Pole& pole : written) {
            expected.plansza.at(pole.column, pole.row) =
                before.plansza.at(pole.column - c.target.column + c.firstSource.column,
                                  pole.row - c.target.row + c.firstSource.row);
        }
        EXPECT_EQ(etap, expected);
    }
}

TEST(Schowek, PasteStaysInsideTheArrayWhateverTheStageSize) {
    Etap etap = patternedStage();
    etap.parametry.Szer = 300;
    etap.parametry.Wys = 300;
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{2, 3, 4, 4});
    EXPECT_TRUE(schowek.wklej(etap, Pole{82, 5}).empty());
    EXPECT_EQ(schowek.wklej(etap, Pole{80, 5}), (ZapisanePola{{80, 5}, {81, 5}, {80, 6}, {81, 6}}));
    schowek.kopiuj(etap.plansza, Zaznaczenie{0, 0, 81, 81});
    EXPECT_EQ(schowek.wklej(etap, Pole{1, 1}).size(), 80u * 80u) << "row and column 81 stay";

    // A copy does not reset row and column 81 either.
    schowek.kopiuj(etap.plansza, Zaznaczenie{1, 1, 1, 1});
    EXPECT_EQ(schowek.at(80, 80), 'x');
    EXPECT_EQ(schowek.at(81, 81), '#');
    EXPECT_EQ(schowek.wklej(etap, Pole{5, 5}).size(), 1u);
}

TEST(Schowek, CutCopiesThenEmptiesAndDeleteEmptiesAndKeepsTheBlock) {
    Etap etap = patternedStage();
    const Etap before = etap;
    Schowek schowek;
    const ZapisanePola cut = schowek.wytnij(etap.plansza, Zaznaczenie{0, 0, 1, 1});
    EXPECT_EQ(cut, (ZapisanePola{{0, 0}, {0, 1}, {1, 0}, {1, 1}})) << "ring included";
    for (const Pole& pole : cut) {
        EXPECT_EQ(etap.plansza.at(pole.column, pole.row), '.');
        EXPECT_EQ(schowek.at(pole.column, pole.row), before.plansza.at(pole.column, pole.row));
    }
    EXPECT_EQ(clipboardCells(schowek), 4);

    schowek.kopiuj(etap.plansza, Zaznaczenie{2, 2, 3, 3});
    const ZapisanePola deleted = Schowek::skasuj(etap.plansza, Zaznaczenie{2, 2, 3, 3});
    EXPECT_EQ(deleted, (ZapisanePola{{2, 2}, {2, 3}, {3, 2}, {3, 3}}));
    EXPECT_EQ(rowText(etap, 2, 2, 3), "..");
    schowek.wklej(etap, Pole{2, 2});
    EXPECT_EQ(rowText(etap, 2, 2, 3), rowText(before, 2, 2, 3));
    const ZapisanePola clamped = Schowek::skasuj(etap.plansza, Zaznaczenie{79, 79, 90, 90});
    EXPECT_EQ(clamped.size(), 9u);
    EXPECT_EQ(clamped.back(), (Pole{81, 81}));
}

} // namespace
} // namespace krelwin::stagetest
