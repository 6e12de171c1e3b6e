#include "generator.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
namespace {

// The state that steps to `ziarno`: 0xD94FA8CD is the inverse of the multiplier modulo 2^32.
uint32_t stateBefore(uint32_t ziarno) {
    static_assert(static_cast<uint32_t>(134775813u * 0xD94FA8CDu) == 1u);
    return (ziarno - 1u) * 0xD94FA8CDu;
}

// How many values of the sequence lead from `start` to `end`, replaying the draws alone.
int drawsTaken(uint32_t start, uint32_t end) {
    ZrodloLosowe replay{start};
    int draws = 0;
    for (; replay.Ziarno != end && draws < 100000; ++draws) {
        replay.Losuj(1);
    }
    return draws;
}

TEST(ZrodloLosowe, StepsByTheLinearCongruenceAndDrawsTheUpperHalfOfTheProduct) {
    ZrodloLosowe zrodlo;
    EXPECT_EQ(zrodlo.Losuj(100), 0u);
    EXPECT_EQ(zrodlo.Ziarno, 1u);
    EXPECT_EQ(zrodlo.Losuj(4), 0u);
    EXPECT_EQ(zrodlo.Ziarno, 134775814u);
    zrodlo.Ziarno = 0xFFFFFFFFu; // the step wraps modulo 2^32
    zrodlo.Losuj(1);
    EXPECT_EQ(zrodlo.Ziarno, static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull));

    const uint32_t cases[][3] = {{0xFFFFFFFFu, 100, 99},
                                 {0x80000000u, 100, 50},
                                 {0x7FFFFFFFu, 100, 49},
                                 {0xC0000000u, 4, 3},
                                 {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFEu}};
    for (const auto& [after, zakres, expected] : cases) {
        zrodlo.Ziarno = stateBefore(after);
        EXPECT_EQ(zrodlo.Losuj(zakres), expected) << std::hex << after;
        EXPECT_EQ(zrodlo.Ziarno, after);
    }
    zrodlo.UstawZiarno();
    EXPECT_LT(zrodlo.Ziarno, 86400000u) << "milliseconds of the day";
}

struct Golden {
    uint32_t seed;
    int szer, wys;
    Udzialy udzialy;
    std::vector<std::string> rows;
    uint32_t endSeed;
};

// Expected cells worked out from the fill rule one draw at a time, outside this code base.
TEST(GenerujPlansze, GivesThePinnedStages) {
    const Golden cases[] = {
        {3141592,
         32,
         20,
         DomyslneUdzialy,
         {"..+.+.o*++.++...+..+......+..+++",  "++o...+++..+.o.++..+.+.+..v+..++",
          "+.+.+.+..+...++..o......+.......",  "..++++++*oo.o...o++..o+..+o+o...",
          "..+-+o=...+++o.+o++....+o.+.+.+.",  "......++..+o..+++.....=+++++.++.",
          "...++o..+.....+.++....+..+++.+o.",  "+.oo.++.+..^+.+++.++..+.....+>=.",
          "++.+.+.++...+.v..\\..o...oo...+.+", "o....+...o+.oo.+.++.o.+..+o....+",
          "o+...o.+...+.++..++.....o.o+=o+o",  "..++++..o+.....++...++...+.++#.+",
          ".+#+.+....^.o.#.+o..o+o...++=oo.",  "+.+.+++..|^o.+.o..++.+o..oo+.*..",
          "+.o...#.oo+o+..+o++...=+o+.o\\...", ".+..o..++.o..+.++.o..++..*.o++..",
          "+...o+.*oo.....++o...o..++.o.+..",  "o.|+.#+.v+|+/.+.+..+.+o+........",
          "..=++.++o.......+\\*.++.+-..o+..+", ".o+.o.++/+.....+++.+o..+o.+....."},
         3245264164u},
        {86399999,
         18,
         10,
         Udzialy{5, 20, 10, 5, 8, 8, 5, 5, 5, 5, 5},
         {"&*/+.o*=+++o~.-\"*.", ".+%+v%|*+&-\"\\.<+/.", "o#<#+\".#..%&~<v^.+",
          "++~&%#-.&&=.&o>+-o", "\"%.*o+.\\+=+\\\"+.o.v", ".+..o<+-=>+=o\"%.+v",
          "o/=\\#=.ov\".#.+%#*o", "o&.++.*<*~+\"=*\"+&.",
          "#\"..#>+o-%~++.\\#*=", ">/>^|ooooo%+~.v~#\""},
         2792657768u},
        // A negative share drops the thresholds back: stone, rivet, butterfly and monster get
        // no values, yet draws below P5 and P6 still take their direction values.
        {777,
         18,
         10,
         Udzialy{2, 30, -9, 1, 1, 1, 20, 0, 0, 0, 0},
         {"=.*=.+.=...+++=+.+", "...++==..=...=...=", "+.+.=..+..+.++++.+", "=+......=....+++..",
          "=.++..........+..+", "....+=+......+.+++", "...==*.=+=.+.=..=.",
          "=..=...=.+++..=*+=", "+++++++....+++..*.", "==..*.=..+.++....."},
         2177181625u},
    };
    for (const Golden& c : cases) {
        Etap etap = etapOfSize(c.szer, c.wys);
        ZrodloLosowe zrodlo{c.seed};
        GenerujPlansze(etap, zrodlo, c.udzialy);
        EXPECT_EQ(interiorRows(etap), c.rows) << c.seed;
        EXPECT_EQ(zrodlo.Ziarno, c.endSeed) << c.seed;
    }
}

TEST(GenerujPlansze, DrawsOncePerCellOrThriceWhenTheSharesPassAHundred) {
    struct Case {
        Udzialy udzialy;
        char first, second; // the codes every cell holds
        int drawsPerCell;
    };
    for (const Case& c : {Case{Udzialy{}, '.', '.', 1},
                          Case{Udzialy{0, 99, 99, 0, 0, 0, 0, 0, 0, 0, 0}, '+', 'o', 3}}) {
        Etap etap = etapOfSize(18, 10);
        ZrodloLosowe zrodlo{5};
        GenerujPlansze(etap, zrodlo, c.udzialy);
        EXPECT_EQ(etap.countInInterior(c.first) +
                      (c.first == c.second ? 0 : etap.countInInterior(c.second)),
                  180);
        EXPECT_EQ(drawsTaken(5, zrodlo.Ziarno), c.drawsPerCell * 180);
    }
    // Shares summing to 99: every draw but w = 99 is a diamond.
    Etap big = etapOfSize(80, 80);
    ZrodloLosowe zrodlo{1234};
    GenerujPlansze(big, zrodlo, Udzialy{99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const int empty = big.countInInterior('.');
    EXPECT_EQ(big.countInInterior('*') + empty, 6400);
    EXPECT_GT(empty, 20);
    EXPECT_LT(empty, 120);
}

TEST(GenerujPlansze, WritesTheInteriorOnlyWhateverTheSize) {
    Etap etap = etapOfSize(18, 10);
    etap.plansza.fill('S');
    ZrodloLosowe zrodlo;
    GenerujPlansze(etap, zrodlo, Udzialy{});
    Etap expected = etapOfSize(18, 10);
    expected.plansza.fill('S');
    expected.clearInterior();
    EXPECT_EQ(etap, expected);

    Etap none = etapOfSize(0, 10);
    zrodlo.Ziarno = 0;
    GenerujPlansze(none, zrodlo, DomyslneUdzialy);
    EXPECT_EQ(zrodlo.Ziarno, 0u) << "no cell, no draw";
    EXPECT_EQ(none.plansza, Plansza{});
    Etap huge = etapOfSize(1000, 1000);
    GenerujPlansze(huge, zrodlo, Udzialy{});
    EXPECT_EQ(huge.plansza.at(81, 81), '.');
    EXPECT_EQ(huge.plansza.at(0, 81), '#');
}

} // namespace
} // namespace krelwin::stagetest
