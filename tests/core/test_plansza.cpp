#include "plansza.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace krelwin {
namespace {

int countInArray(const Plansza& plansza, char code) {
    int count = 0;
    for (int column = 0; column < RozmiarPlanszy; ++column) {
        for (int row = 0; row < RozmiarPlanszy; ++row) {
            count += plansza.at(column, row) == code ? 1 : 0;
        }
    }
    return count;
}

Etap etapOfSize(int32_t szer, int32_t wys) {
    Etap etap;
    etap.parametry.Szer = szer;
    etap.parametry.Wys = wys;
    return etap;
}

TEST(Plansza, StartsAsRivetsWithTheDialogDefaults) {
    const Etap etap;
    EXPECT_EQ(countInArray(etap.plansza, '#'), RozmiarPlanszy * RozmiarPlanszy);
    const ParametryEtapu& p = etap.parametry;
    EXPECT_EQ(p.Szer, 32);
    EXPECT_EQ(p.Wys, 20);
    EXPECT_EQ(p.CzasG, 100);
    EXPECT_EQ(p.Typ, 'Z');
    EXPECT_EQ(p.Kolory.size(), 53u);
}

TEST(Plansza, ClearInteriorLeavesTheRingAndBeyond) {
    for (auto [szer, wys] : {std::pair{18, 10}, std::pair{32, 20}, std::pair{80, 80}}) {
        Etap etap = etapOfSize(szer, wys);
        etap.clearInterior();
        EXPECT_EQ(countInArray(etap.plansza, '.'), szer * wys);
        EXPECT_EQ(etap.plansza.at(1, 1), '.');
        EXPECT_EQ(etap.plansza.at(szer, wys), '.');
        EXPECT_EQ(etap.plansza.at(0, 1), '#');
        EXPECT_EQ(etap.plansza.at(1, 0), '#');
        EXPECT_EQ(etap.plansza.at(szer + 1, wys), '#');
        EXPECT_EQ(etap.plansza.at(szer, wys + 1), '#');
    }
}

TEST(Plansza, AtTheLargestSizeTheRingIsTheLastIndex) {
    Etap etap = etapOfSize(80, 80);
    EXPECT_TRUE(etap.isInterior(80, 80));
    EXPECT_FALSE(etap.isInterior(81, 1));
    EXPECT_FALSE(etap.isInterior(1, 81));
    etap.clearInterior();
    for (int i = 0; i < RozmiarPlanszy; ++i) {
        EXPECT_EQ(etap.plansza.at(81, i), '#');
        EXPECT_EQ(etap.plansza.at(i, 81), '#');
    }
}

TEST(Plansza, ShrinkingFillsTheCutOffPartAndGrowingKeepsIt) {
    Etap etap = etapOfSize(40, 30);
    etap.plansza.fill('.');
    etap.plansza.at(35, 5) = '*';
    etap.parametry.Szer = 20;
    etap.trimToSize();
    for (int column = 21; column < RozmiarPlanszy; ++column) {
        for (int row = 0; row < RozmiarPlanszy; ++row) {
            ASSERT_EQ(etap.plansza.at(column, row), '#') << column << ',' << row;
        }
    }
    for (int row = 31; row < RozmiarPlanszy; ++row) {
        ASSERT_EQ(etap.plansza.at(5, row), '#') << row;
    }
    EXPECT_EQ(etap.plansza.at(20, 30), '.');
    EXPECT_EQ(etap.plansza.at(0, 0), '.') << "cells inside the size keep their codes";

    etap.parametry.Szer = 40;
    etap.trimToSize();
    EXPECT_EQ(etap.plansza.at(35, 5), '#') << "growing brings back the filler, not old cells";
    EXPECT_EQ(etap.plansza.at(20, 30), '.');
}

TEST(Plansza, CountsOnlyInteriorCells) {
    Etap etap = etapOfSize(18, 10);
    etap.clearInterior();
    etap.plansza.at(1, 1) = 'S';
    etap.plansza.at(18, 10) = 'S';
    etap.plansza.at(0, 5) = 'S';  // ring
    etap.plansza.at(19, 5) = 'S'; // ring
    etap.plansza.at(50, 50) = 'S';
    EXPECT_EQ(etap.countInInterior('S'), 2);
    EXPECT_EQ(etap.countInInterior('.'), 18 * 10 - 2);
    EXPECT_EQ(etap.countInInterior('#'), 0);
}

struct Placement {
    int column;
    int row;
    char code;
};

struct RuleCase {
    const char* name;
    std::vector<Placement> cells;
    bool allowed;
};

TEST(Plansza, StartAndExitRule) {
    const RuleCase cases[] = {
        {"empty stage", {}, false},
        {"one of each", {{3, 3, 'S'}, {30, 18, 'W'}}, true},
        {"one of each in the corners", {{1, 1, 'S'}, {32, 20, 'W'}}, true},
        {"no start", {{30, 18, 'W'}}, false},
        {"no exit", {{3, 3, 'S'}}, false},
        {"two exits", {{3, 3, 'S'}, {30, 18, 'W'}, {31, 18, 'W'}}, false},
        {"two starts", {{3, 3, 'S'}, {4, 3, 'S'}, {30, 18, 'W'}}, false},
        {"start on the ring", {{0, 3, 'S'}, {30, 18, 'W'}}, false},
        {"exit beyond the ring", {{3, 3, 'S'}, {60, 60, 'W'}}, false},
        {"extra exit on the ring", {{3, 3, 'S'}, {30, 18, 'W'}, {33, 1, 'W'}}, true},
    };
    for (const auto& c : cases) {
        Etap etap;
        etap.clearInterior();
        for (const auto& placement : c.cells) {
            etap.plansza.at(placement.column, placement.row) = placement.code;
        }
        EXPECT_EQ(etap.hasOneStartAndOneExit(), c.allowed) << c.name;
    }
}

TEST(Plansza, ParameterPassBringsEveryNumberIntoRange) {
    ParametryEtapu low;
    low.Szer = 17;
    low.Wys = -3;
    low.IleD = 0;
    low.PktD = INT32_MIN;
    low.MagMur = -1;
    low.RozL = -1000;
    low.LawP = -1;
    low.CzasG = 4;
    applyParameterPass(low);
    EXPECT_EQ(low.Szer, 18);
    EXPECT_EQ(low.Wys, 10);
    EXPECT_EQ(low.IleD, 1);
    EXPECT_EQ(low.PktD, 1);
    EXPECT_EQ(low.MagMur, 0);
    EXPECT_EQ(low.RozL, 0);
    EXPECT_EQ(low.LawP, 0);
    EXPECT_EQ(low.CzasG, 5);

    ParametryEtapu high;
    high.Szer = 81;
    high.Wys = 99;
    high.IleD = 1000;
    high.PktD = INT32_MAX;
    high.MagMur = 1000;
    high.RozL = 5000;
    high.LawP = 1000;
    high.CzasG = 1000;
    applyParameterPass(high);
    EXPECT_EQ(high.Szer, 80);
    EXPECT_EQ(high.Wys, 80);
    EXPECT_EQ(high.IleD, 999);
    EXPECT_EQ(high.PktD, 999);
    EXPECT_EQ(high.MagMur, 999);
    EXPECT_EQ(high.RozL, 999);
    EXPECT_EQ(high.LawP, 999);
    EXPECT_EQ(high.CzasG, 999);
}

TEST(Plansza, ParameterPassKeepsValuesInRangeAndTheColourText) {
    ParametryEtapu p;
    p.Szer = 18;
    p.Wys = 80;
    p.MagMur = 0;
    p.Kolory = "not colours at all";
    ParametryEtapu expected = p;
    applyParameterPass(p);
    EXPECT_EQ(p, expected);
}

TEST(Plansza, ParameterPassTurnsAnyTypeButNormalIntoBonus) {
    const std::pair<char, char> cases[] = {{'Z', 'Z'}, {'B', 'B'}, {'z', 'B'},
                                           {'X', 'B'}, {' ', 'B'}, {'\0', 'B'}};
    for (auto [given, expected] : cases) {
        ParametryEtapu p;
        p.Typ = given;
        applyParameterPass(p);
        EXPECT_EQ(p.Typ, expected) << int(given);
    }
}

TEST(Plansza, WalksStayInsideTheArrayWhateverTheSize) {
    Etap huge = etapOfSize(500, 1000);
    huge.clearInterior();
    EXPECT_EQ(huge.plansza.at(0, 0), '#');
    EXPECT_EQ(huge.plansza.at(81, 81), '.');
    EXPECT_EQ(huge.countInInterior('.'), 81 * 81);
    huge.trimToSize();
    EXPECT_EQ(huge.plansza.at(81, 81), '.');

    Etap negative = etapOfSize(-5, 0);
    negative.clearInterior();
    EXPECT_EQ(countInArray(negative.plansza, '#'), RozmiarPlanszy * RozmiarPlanszy);
    EXPECT_EQ(negative.countInInterior('#'), 0);
    negative.plansza.fill('.');
    negative.trimToSize();
    EXPECT_EQ(countInArray(negative.plansza, '#'), RozmiarPlanszy * RozmiarPlanszy);
}

} // namespace
} // namespace krelwin
