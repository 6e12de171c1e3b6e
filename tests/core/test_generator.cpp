#include "generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace krelwin {
namespace {

Etap stageOfSize(int32_t szer, int32_t wys) {
    Etap etap;
    etap.parametry.Szer = szer;
    etap.parametry.Wys = wys;
    return etap;
}

std::vector<std::string> interiorRows(const Etap& etap) {
    std::vector<std::string> rows;
    for (int row = 1; row <= etap.parametry.Wys; ++row) {
        std::string text;
        for (int column = 1; column <= etap.parametry.Szer; ++column) {
            text += etap.plansza.at(column, row);
        }
        rows.push_back(text);
    }
    return rows;
}

std::string column1(const Etap& etap, int cells) {
    std::string text;
    for (int row = 1; row <= cells; ++row) {
        text += etap.plansza.at(1, row);
    }
    return text;
}

TEST(ZrodloLosowe, StepsByTheLinearCongruence) {
    ZrodloLosowe zrodlo;
    EXPECT_EQ(zrodlo.Losuj(100), 0u);
    EXPECT_EQ(zrodlo.Ziarno, 1u);
    EXPECT_EQ(zrodlo.Losuj(4), 0u);
    EXPECT_EQ(zrodlo.Ziarno, 134775814u);
    EXPECT_EQ(zrodlo.Losuj(4), 3u);

    zrodlo.Ziarno = 0xFFFFFFFFu; // the step wraps modulo 2^32
    zrodlo.Losuj(1);
    EXPECT_EQ(zrodlo.Ziarno, static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull));
}

TEST(ZrodloLosowe, DrawsTheUpperHalfOfTheProductWithTheNewState) {
    struct Case {
        uint32_t ziarnoAfterStep;
        uint32_t zakres;
        uint32_t expected;
    };
    const Case cases[] = {
        {0xFFFFFFFFu, 100, 99}, {0x80000000u, 100, 50}, {0x7FFFFFFFu, 100, 49},
        {0x40000000u, 4, 1},    {0xC0000000u, 4, 3},    {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFEu},
        {0x12345678u, 1, 0},
    };
    constexpr uint32_t inverse = 0xD94FA8CDu; // 134775813 * inverse == 1 (mod 2^32)
    static_assert(static_cast<uint32_t>(134775813u * inverse) == 1u);
    for (const auto& c : cases) {
        ZrodloLosowe zrodlo;
        zrodlo.Ziarno = (c.ziarnoAfterStep - 1u) * inverse;
        EXPECT_EQ(zrodlo.Losuj(c.zakres), c.expected) << std::hex << c.ziarnoAfterStep;
        EXPECT_EQ(zrodlo.Ziarno, c.ziarnoAfterStep);
    }
}

TEST(ZrodloLosowe, SeedsWithTheMillisecondsOfTheDay) {
    ZrodloLosowe zrodlo;
    for (int attempt = 0; attempt < 3; ++attempt) {
        zrodlo.UstawZiarno();
        EXPECT_LT(zrodlo.Ziarno, 86400000u);
    }
}

TEST(GenerujPlansze, DefaultSharesFromZeroGiveTheKnownFirstColumn) {
    Etap etap = stageOfSize(32, 20);
    ZrodloLosowe zrodlo;
    GenerujPlansze(etap, zrodlo, DomyslneUdzialy);
    EXPECT_EQ(column1(etap, 8), "*++#++.o");
}

// Expected cells worked out from the fill rule one draw at a time, outside this code base.
TEST(GenerujPlansze, GoldenStageWithDefaultShares) {
    Etap etap = stageOfSize(32, 20);
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 3141592;
    GenerujPlansze(etap, zrodlo, DomyslneUdzialy);
    const std::vector<std::string> expected{
        "..+.+.o*++.++...+..+......+..+++",  "++o...+++..+.o.++..+.+.+..v+..++",
        "+.+.+.+..+...++..o......+.......",  "..++++++*oo.o...o++..o+..+o+o...",
        "..+-+o=...+++o.+o++....+o.+.+.+.",  "......++..+o..+++.....=+++++.++.",
        "...++o..+.....+.++....+..+++.+o.",  "+.oo.++.+..^+.+++.++..+.....+>=.",
        "++.+.+.++...+.v..\\..o...oo...+.+", "o....+...o+.oo.+.++.o.+..+o....+",
        "o+...o.+...+.++..++.....o.o+=o+o",  "..++++..o+.....++...++...+.++#.+",
        ".+#+.+....^.o.#.+o..o+o...++=oo.",  "+.+.+++..|^o.+.o..++.+o..oo+.*..",
        "+.o...#.oo+o+..+o++...=+o+.o\\...", ".+..o..++.o..+.++.o..++..*.o++..",
        "+...o+.*oo.....++o...o..++.o.+..",  "o.|+.#+.v+|+/.+.+..+.+o+........",
        "..=++.++o.......+\\*.++.+-..o+..+", ".o+.o.++/+.....+++.+o..+o.+.....",
    };
    EXPECT_EQ(interiorRows(etap), expected);
    EXPECT_EQ(zrodlo.Ziarno, 3245264164u);
}

TEST(GenerujPlansze, GoldenStageWithEveryKind) {
    Etap etap = stageOfSize(18, 10);
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 86399999;
    GenerujPlansze(etap, zrodlo, Udzialy{5, 20, 10, 5, 8, 8, 5, 5, 5, 5, 5});
    const std::vector<std::string> expected{
        "&*/+.o*=+++o~.-\"*.",  ".+%+v%|*+&-\"\\.<+/.",   "o#<#+\".#..%&~<v^.+",
        "++~&%#-.&&=.&o>+-o",   "\"%.*o+.\\+=+\\\"+.o.v", ".+..o<+-=>+=o\"%.+v",
        "o/=\\#=.ov\".#.+%#*o", "o&.++.*<*~+\"=*\"+&.",   "#\"..#>+o-%~++.\\#*=",
        ">/>^|ooooo%+~.v~#\"",
    };
    EXPECT_EQ(interiorRows(etap), expected);
    EXPECT_EQ(zrodlo.Ziarno, 2792657768u);
}

// With a negative share the thresholds fall back: stone, rivet, butterfly and monster get no
// values at all, yet draws below P5 and P6 still take their direction values.
TEST(GenerujPlansze, GoldenStageWithANegativeShare) {
    Etap etap = stageOfSize(18, 10);
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 777;
    GenerujPlansze(etap, zrodlo, Udzialy{2, 30, -9, 1, 1, 1, 20, 0, 0, 0, 0});
    const std::vector<std::string> expected{
        "=.*=.+.=...+++=+.+", "...++==..=...=...=", "+.+.=..+..+.++++.+", "=+......=....+++..",
        "=.++..........+..+", "....+=+......+.+++", "...==*.=+=.+.=..=.", "=..=...=.+++..=*+=",
        "+++++++....+++..*.", "==..*.=..+.++.....",
    };
    EXPECT_EQ(interiorRows(etap), expected);
    EXPECT_EQ(zrodlo.Ziarno, 2177181625u);
}

TEST(GenerujPlansze, ButterflyTakesTheSecondDirectionValue) {
    // From this state the first draws are w = 43, then 3 and 0: a butterfly facing right.
    Etap etap = stageOfSize(18, 10);
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 3745906018u;
    GenerujPlansze(etap, zrodlo, DomyslneUdzialy);
    EXPECT_EQ(etap.plansza.at(1, 1), '>');
}

TEST(GenerujPlansze, MonsterTakesItsOwnDirectionValue) {
    // From this state the first draws are w = 44, then 2: a monster facing right.
    Etap etap = stageOfSize(18, 10);
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 2389164802u;
    GenerujPlansze(etap, zrodlo, DomyslneUdzialy);
    EXPECT_EQ(etap.plansza.at(1, 1), '-');
}

// How many values of the sequence a whole stage consumes: replaying the draws alone.
// Gives -1 when the end state is not reached within a generous bound.
int drawsTaken(uint32_t start, uint32_t end) {
    constexpr int bound = 100000;
    ZrodloLosowe replay;
    replay.Ziarno = start;
    int draws = 0;
    while (replay.Ziarno != end) {
        if (draws == bound) {
            return -1;
        }
        replay.Losuj(1);
        ++draws;
    }
    return draws;
}

TEST(GenerujPlansze, AllSharesZeroEmptiesTheStageWithOneDrawPerCell) {
    Etap etap = stageOfSize(18, 10);
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 99;
    GenerujPlansze(etap, zrodlo, Udzialy{});
    EXPECT_EQ(etap.countInInterior('.'), 180);
    EXPECT_EQ(drawsTaken(99, zrodlo.Ziarno), 180);
}

TEST(GenerujPlansze, SharesOverHundredLeaveNoEmptyCellAndDrawThreeTimes) {
    Etap etap = stageOfSize(18, 10);
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 5;
    GenerujPlansze(etap, zrodlo, Udzialy{0, 99, 99, 0, 0, 0, 0, 0, 0, 0, 0});
    const int earth = etap.countInInterior('+');
    const int stone = etap.countInInterior('o');
    EXPECT_EQ(earth + stone, 180);
    EXPECT_GT(earth, 50);
    EXPECT_GT(stone, 50);
    EXPECT_EQ(drawsTaken(5, zrodlo.Ziarno), 3 * 180);
}

TEST(GenerujPlansze, SharesSummingTo99LeaveOneValueInHundredEmpty) {
    // Every draw but w = 99 is a diamond; a share of 100 with w = 99 would be too.
    Etap big = stageOfSize(80, 80);
    ZrodloLosowe zrodlo;
    zrodlo.Ziarno = 1234;
    GenerujPlansze(big, zrodlo, Udzialy{99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const int empty = big.countInInterior('.');
    EXPECT_EQ(big.countInInterior('*') + empty, 6400);
    EXPECT_GT(empty, 20);
    EXPECT_LT(empty, 120);
}

TEST(GenerujPlansze, WritesTheInteriorOnly) {
    Etap etap = stageOfSize(18, 10);
    etap.plansza.fill('S');
    const Etap before = etap;
    ZrodloLosowe zrodlo;
    GenerujPlansze(etap, zrodlo, DomyslneUdzialy);
    EXPECT_EQ(etap.countInInterior('S'), 0) << "a start inside is overwritten like any cell";
    int changed = 0;
    for (int column = 0; column < RozmiarPlanszy; ++column) {
        for (int row = 0; row < RozmiarPlanszy; ++row) {
            if (etap.plansza.at(column, row) != before.plansza.at(column, row)) {
                ++changed;
                EXPECT_TRUE(etap.isInterior(column, row)) << column << ',' << row;
            }
        }
    }
    EXPECT_EQ(changed, 180);
    EXPECT_EQ(etap.parametry, before.parametry);
}

TEST(GenerujPlansze, SizesOutsideTheArrayAreWalkedSafely) {
    Etap none = stageOfSize(0, 10);
    ZrodloLosowe zrodlo;
    GenerujPlansze(none, zrodlo, DomyslneUdzialy);
    EXPECT_EQ(zrodlo.Ziarno, 0u) << "no cell, no draw";
    EXPECT_EQ(none.plansza, Plansza{});

    Etap huge = stageOfSize(1000, 1000);
    GenerujPlansze(huge, zrodlo, Udzialy{});
    EXPECT_EQ(huge.plansza.at(81, 81), '.');
    EXPECT_EQ(huge.plansza.at(0, 81), '#');
}

} // namespace
} // namespace krelwin
