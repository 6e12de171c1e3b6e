#include "plansza.h"
#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin::stagetest {
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

TEST(Plansza, ClearInteriorLeavesTheRingAndBeyond) {
    for (auto [szer, wys] : {std::pair{18, 10}, {32, 20}, {80, 80}}) {
        Etap etap = etapOfSize(szer, wys);
        etap.clearInterior();
        EXPECT_EQ(countInArray(etap.plansza, '.'), szer * wys);
        EXPECT_EQ(etap.countInInterior('.'), szer * wys);
        EXPECT_EQ(rowText(etap, 0, 0, szer + 1), std::string(szer + 2, '#'));
        EXPECT_EQ(rowText(etap, wys + 1, 0, szer + 1), std::string(szer + 2, '#'));
        EXPECT_EQ(etap.plansza.at(0, wys), '#');
        EXPECT_EQ(etap.plansza.at(szer + 1, wys), '#');
    }
    // Sizes outside the array are walked safely.
    Etap huge = etapOfSize(500, 1000);
    huge.clearInterior();
    EXPECT_EQ(huge.plansza.at(0, 0), '#');
    EXPECT_EQ(huge.countInInterior('.'), 81 * 81);
    Etap negative = etapOfSize(-5, 0);
    negative.clearInterior();
    EXPECT_EQ(countInArray(negative.plansza, '#'), RozmiarPlanszy * RozmiarPlanszy);
}

TEST(Plansza, ShrinkingFillsTheCutOffPartAndGrowingKeepsIt) {
    Etap etap = etapOfSize(40, 30);
    etap.plansza.fill('.');
    etap.plansza.at(35, 5) = '*';
    etap.parametry.Szer = 20;
    etap.trimToSize();
    EXPECT_EQ(countInArray(etap.plansza, '.'), 21 * 31) << "columns and rows 0..20 x 0..30 stay";
    EXPECT_EQ(etap.plansza.at(20, 30), '.');
    EXPECT_EQ(etap.plansza.at(21, 30), '#');
    EXPECT_EQ(etap.plansza.at(20, 31), '#');
    etap.parametry.Szer = 40;
    etap.trimToSize();
    EXPECT_EQ(etap.plansza.at(35, 5), '#') << "growing brings back the filler, not old cells";

    Etap negative = etapOfSize(-5, 0);
    negative.plansza.fill('.');
    negative.trimToSize();
    EXPECT_EQ(countInArray(negative.plansza, '#'), RozmiarPlanszy * RozmiarPlanszy);
}

TEST(Plansza, StartAndExitRuleCountsTheInteriorOnly) {
    struct Placement {
        int column, row;
        char code;
    };
    const std::pair<std::vector<Placement>, bool> cases[] = {
        {{}, false},
        {{{3, 3, 'S'}, {30, 18, 'W'}}, true},
        {{{1, 1, 'S'}, {32, 20, 'W'}}, true},
        {{{30, 18, 'W'}}, false},
        {{{3, 3, 'S'}}, false},
        {{{3, 3, 'S'}, {30, 18, 'W'}, {31, 18, 'W'}}, false},
        {{{3, 3, 'S'}, {4, 3, 'S'}, {30, 18, 'W'}}, false},
        {{{0, 3, 'S'}, {30, 18, 'W'}}, false},              // start on the ring
        {{{3, 3, 'S'}, {60, 60, 'W'}}, false},              // exit beyond the ring
        {{{3, 3, 'S'}, {30, 18, 'W'}, {33, 1, 'W'}}, true}, // extra exit on the ring
    };
    for (const auto& [cells, allowed] : cases) {
        Etap etap;
        etap.clearInterior();
        for (const Placement& p : cells) {
            etap.plansza.at(p.column, p.row) = p.code;
        }
        EXPECT_EQ(etap.hasOneStartAndOneExit(), allowed) << cells.size() << " placed";
    }
}

TEST(Plansza, ParameterPassBringsEveryNumberToTheNearerEndOfItsRange) {
    using P = ParametryEtapu;
    struct Bound {
        int32_t P::*field;
        int32_t below, min, max, above;
    };
    const Bound bounds[] = {
        {&P::Szer, 17, 18, 80, 81},     {&P::Wys, -3, 10, 80, 99},
        {&P::IleD, 0, 1, 999, 1000},    {&P::PktD, INT32_MIN, 1, 999, INT32_MAX},
        {&P::MagMur, -1, 0, 999, 1000}, {&P::RozL, -1000, 0, 999, 5000},
        {&P::LawP, -1, 0, 999, 1000},   {&P::CzasG, 4, 5, 999, 1000}};
    for (const Bound& bound : bounds) {
        const std::pair<int32_t, int32_t> cases[] = {{bound.below, bound.min},
                                                     {bound.min, bound.min},
                                                     {bound.max, bound.max},
                                                     {bound.above, bound.max}};
        for (const auto& [given, passed] : cases) {
            P p;
            p.*bound.field = given;
            p.Kolory = "not colours at all";
            applyParameterPass(p);
            EXPECT_EQ(p.*bound.field, passed) << given;
            EXPECT_EQ(p.Kolory, "not colours at all");
        }
    }
    for (const auto& [given, passed] :
         {std::pair{'Z', 'Z'}, {'B', 'B'}, {'z', 'B'}, {'X', 'B'}, {' ', 'B'}, {'\0', 'B'}}) {
        P p;
        p.Typ = given;
        applyParameterPass(p);
        EXPECT_EQ(p.Typ, passed) << int(given);
    }
}

} // namespace
} // namespace krelwin::stagetest
