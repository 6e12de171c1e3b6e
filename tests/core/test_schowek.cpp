#include "schowek.h"

#include <gtest/gtest.h>

#include <string>

namespace krelwin {
namespace {

// A 32 x 20 stage whose interior cells can be told apart: each holds a letter from its
// position, and the ring holds "#".
Etap patternedStage() {
    Etap etap;
    for (int column = 1; column <= etap.parametry.Szer; ++column) {
        for (int row = 1; row <= etap.parametry.Wys; ++row) {
            etap.plansza.at(column, row) = static_cast<char>('A' + (column * 3 + row * 7) % 23);
        }
    }
    return etap;
}

std::string rowText(const Etap& etap, int row, int fromColumn, int toColumn) {
    std::string text;
    for (int column = fromColumn; column <= toColumn; ++column) {
        text += etap.plansza.at(column, row);
    }
    return text;
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

TEST(Schowek, StartsEmptyAndPastingNothingChangesNothing) {
    Schowek schowek;
    EXPECT_EQ(clipboardCells(schowek), 0);
    Etap etap = patternedStage();
    const Etap before = etap;
    EXPECT_TRUE(schowek.wklej(etap, Pole{1, 1}).empty());
    EXPECT_EQ(etap, before);
}

TEST(Schowek, CopyKeepsTheBlockAtItsPositionAndTheStageUnchanged) {
    Etap etap = patternedStage();
    const Etap before = etap;
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{4, 6, 6, 7});
    EXPECT_EQ(etap, before);
    EXPECT_EQ(clipboardCells(schowek), 6);
    EXPECT_EQ(schowek.at(4, 6), etap.plansza.at(4, 6));
    EXPECT_EQ(schowek.at(6, 7), etap.plansza.at(6, 7));
    EXPECT_EQ(schowek.at(3, 6), 'x');

    schowek.kopiuj(etap.plansza, Zaznaczenie{10, 10, 10, 10});
    EXPECT_EQ(clipboardCells(schowek), 1) << "a copy replaces the whole previous block";
}

TEST(Schowek, PastePutsTheBlocksCornerAtTheTargetRowForRow) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{2, 3, 4, 4});
    const std::string top = rowText(etap, 3, 2, 4);
    const std::string bottom = rowText(etap, 4, 2, 4);

    const ZapisanePola written = schowek.wklej(etap, Pole{10, 12});
    const ZapisanePola expected{{10, 12}, {11, 12}, {12, 12}, {10, 13}, {11, 13}, {12, 13}};
    EXPECT_EQ(written, expected);
    EXPECT_EQ(rowText(etap, 12, 10, 12), top);
    EXPECT_EQ(rowText(etap, 13, 10, 12), bottom);
}

TEST(Schowek, PasteAtTheFarCornerDropsWhatFallsOutside) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{2, 3, 4, 4});
    const std::string top = rowText(etap, 3, 2, 3);
    const Etap before = etap;

    const ZapisanePola written = schowek.wklej(etap, Pole{31, 20});
    EXPECT_EQ(written, (ZapisanePola{{31, 20}, {32, 20}}));
    EXPECT_EQ(rowText(etap, 20, 31, 32), top);
    EXPECT_EQ(etap.plansza.at(33, 20), '#');
    EXPECT_EQ(etap.plansza.at(31, 21), '#');
    etap.plansza.at(31, 20) = before.plansza.at(31, 20);
    etap.plansza.at(32, 20) = before.plansza.at(32, 20);
    EXPECT_EQ(etap, before) << "nothing else was written";
}

TEST(Schowek, PasteAtARingCellPlacesNothing) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{2, 3, 4, 4});
    const Etap before = etap;
    for (const Pole target : {Pole{0, 5}, Pole{5, 0}, Pole{33, 5}, Pole{5, 21}, Pole{81, 81}}) {
        EXPECT_TRUE(schowek.wklej(etap, target).empty()) << target.column << ',' << target.row;
    }
    EXPECT_EQ(etap, before);
}

TEST(Schowek, PasteOutsideTheArrayPlacesNothing) {
    Etap etap = patternedStage();
    etap.parametry.Szer = 300; // even when the size would let the target through
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{2, 3, 4, 4});
    EXPECT_TRUE(schowek.wklej(etap, Pole{82, 5}).empty());
    EXPECT_TRUE(schowek.wklej(etap, Pole{-1, 5}).empty());
    const ZapisanePola written = schowek.wklej(etap, Pole{80, 5});
    EXPECT_EQ(written, (ZapisanePola{{80, 5}, {81, 5}, {80, 6}, {81, 6}}));
}

TEST(Schowek, TheLeftRingColumnIsNeverPasted) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{0, 1, 2, 2});
    EXPECT_EQ(schowek.at(0, 1), '#') << "the ring is copied";
    const std::string first = rowText(etap, 1, 1, 2);
    const std::string second = rowText(etap, 2, 1, 2);

    const ZapisanePola written = schowek.wklej(etap, Pole{5, 5});
    EXPECT_EQ(written, (ZapisanePola{{5, 5}, {6, 5}, {5, 6}, {6, 6}}));
    EXPECT_EQ(rowText(etap, 5, 5, 6), first);
    EXPECT_EQ(rowText(etap, 6, 5, 6), second);
}

TEST(Schowek, TheRightRingColumnIsPastedLikeAnyCell) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{31, 1, 33, 2});
    const std::string first = rowText(etap, 1, 31, 33);
    const std::string second = rowText(etap, 2, 31, 33);
    schowek.wklej(etap, Pole{1, 1});
    EXPECT_EQ(rowText(etap, 1, 1, 3), first);
    EXPECT_EQ(rowText(etap, 2, 1, 3), second);
    EXPECT_EQ(etap.plansza.at(3, 1), '#');
}

TEST(Schowek, TheWholeViewPastedAtTheFirstCellLeavesTheStageAsItWas) {
    Etap etap = patternedStage();
    const Etap before = etap;
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{0, 0, 33, 21});
    schowek.wklej(etap, Pole{1, 1});
    EXPECT_EQ(etap, before);
}

TEST(Schowek, TheWholeArrayCopiedAndPastedStaysInside) {
    Etap etap = patternedStage();
    etap.parametry.Szer = 80;
    etap.parametry.Wys = 80;
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{0, 0, 81, 81});
    EXPECT_EQ(clipboardCells(schowek), RozmiarPlanszy * RozmiarPlanszy);
    const ZapisanePola written = schowek.wklej(etap, Pole{1, 1});
    EXPECT_EQ(written.size(), 80u * 80u);
}

TEST(Schowek, RowAndColumn81AreNotResetByACopy) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{80, 80, 81, 81});
    schowek.kopiuj(etap.plansza, Zaznaczenie{1, 1, 1, 1});
    EXPECT_EQ(schowek.at(80, 80), 'x');
    EXPECT_EQ(schowek.at(81, 81), '#');
    // ... and as they are never pasted, the block pastes alone.
    EXPECT_EQ(schowek.wklej(etap, Pole{5, 5}).size(), 1u);
}

TEST(Schowek, ABlockFallingBelowTheStageStopsThePaste) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{1, 1, 2, 5});
    const ZapisanePola written = schowek.wklej(etap, Pole{10, 19});
    EXPECT_EQ(written, (ZapisanePola{{10, 19}, {11, 19}, {10, 20}, {11, 20}}));
}

TEST(Schowek, ABlockPastesIntoAnotherStage) {
    Etap source = patternedStage();
    Schowek schowek;
    schowek.kopiuj(source.plansza, Zaznaczenie{3, 3, 4, 3});
    Etap other;
    other.parametry.Szer = 18;
    other.parametry.Wys = 10;
    other.clearInterior();
    schowek.wklej(other, Pole{17, 10});
    EXPECT_EQ(rowText(other, 10, 17, 18), rowText(source, 3, 3, 4));
    EXPECT_EQ(other.countInInterior('.'), 18 * 10 - 2);
}

TEST(Schowek, PastingTwiceIsPastingOnce) {
    Etap once = patternedStage();
    Schowek schowek;
    schowek.kopiuj(once.plansza, Zaznaczenie{2, 2, 6, 5});
    Etap twice = once;
    schowek.wklej(once, Pole{4, 4});
    schowek.wklej(twice, Pole{4, 4});
    schowek.wklej(twice, Pole{4, 4});
    EXPECT_EQ(once, twice);
}

TEST(Schowek, CutCopiesThenEmptiesEverySelectedCellRingIncluded) {
    Etap etap = patternedStage();
    const Etap before = etap;
    Schowek schowek;
    const ZapisanePola written = schowek.wytnij(etap.plansza, Zaznaczenie{0, 0, 1, 1});
    EXPECT_EQ(written, (ZapisanePola{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
    for (const Pole& pole : written) {
        EXPECT_EQ(etap.plansza.at(pole.column, pole.row), '.');
        EXPECT_EQ(schowek.at(pole.column, pole.row), before.plansza.at(pole.column, pole.row));
    }
    EXPECT_EQ(clipboardCells(schowek), 4);
}

TEST(Schowek, DeleteEmptiesTheSelectionAndKeepsTheBlock) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{2, 2, 3, 3});
    const std::string top = rowText(etap, 2, 2, 3);
    const ZapisanePola deleted = Schowek::skasuj(etap.plansza, Zaznaczenie{2, 2, 3, 3});
    EXPECT_EQ(deleted, (ZapisanePola{{2, 2}, {2, 3}, {3, 2}, {3, 3}}));
    EXPECT_EQ(rowText(etap, 2, 2, 3), "..");
    schowek.wklej(etap, Pole{2, 2});
    EXPECT_EQ(rowText(etap, 2, 2, 3), top);
}

TEST(Schowek, SelectionsOutsideTheArrayAreClamped) {
    Etap etap = patternedStage();
    Schowek schowek;
    schowek.kopiuj(etap.plansza, Zaznaczenie{-3, -3, 200, 200});
    EXPECT_EQ(clipboardCells(schowek), RozmiarPlanszy * RozmiarPlanszy);
    const ZapisanePola deleted = Schowek::skasuj(etap.plansza, Zaznaczenie{79, 79, 90, 90});
    EXPECT_EQ(deleted.size(), 9u);
    EXPECT_EQ(deleted.back(), (Pole{81, 81}));
}

} // namespace
} // namespace krelwin
