#include "cell_counts.h"
#include "cell_kinds.h"
#include "interior_counter.h"

#include "test_stage_file_support.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

using stagetest::exampleEtap;

TEST(CellCounts, CountTheInteriorOnlyByCodeAndKind) {
    Etap etap = exampleEtap();
    etap.plansza.at(0, 0) = 'S'; // the ring is not counted, nor what lies beyond the size
    etap.plansza.at(19, 5) = 'W';
    etap.plansza.at(30, 30) = '*';
    etap.plansza.at(2, 2) = '<'; // was "+"
    etap.plansza.at(3, 3) = '\x07';
    const CellCounts counts = countCells(etap);
    EXPECT_EQ(counts.total(), 180);
    const std::pair<char, int> byCode[] = {{'S', 1}, {'W', 1}, {'*', 5},    {'+', 121},
                                           {'<', 1}, {'>', 1}, {'#', 3},    {'.', 15},
                                           {'"', 3}, {'~', 3}, {'\x07', 1}, {'x', 0}};
    for (const auto& [code, count] : byCode) {
        EXPECT_EQ(counts.of(code), count) << shownCode(code);
    }
    // S * + o # Motyl Potwór = " % & ~ W . and the unknown byte.
    const int byKind[] = {1, 5, 121, 7, 3, 2, 1, 14, 3, 1, 2, 3, 1, 15};
    const std::vector<KindShare> shares = kindShares(counts);
    ASSERT_EQ(shares.size(), 15u);
    for (std::size_t kind = 0; kind < 14; ++kind) {
        EXPECT_EQ(shares[kind].count, byKind[kind]) << shares[kind].name;
        EXPECT_DOUBLE_EQ(shares[kind].share, byKind[kind] / 180.0) << shares[kind].name;
    }
    EXPECT_STREQ(shares[14].name, "Nieznane pole");
    EXPECT_EQ(shares[14].count, 1);
    EXPECT_EQ(diamondsText(counts, 10), "Diamenty: 5/10");
    // Without codes outside the alphabet, no row for them.
    EXPECT_EQ(kindShares(countCells(exampleEtap())).size(), 14u);
}

TEST(InteriorCounter, FollowsEachEditAsAFreshWalkWould) {
    Etap etap = exampleEtap();
    InteriorCounter counter(etap);
    const auto paint = [&](int column, int row, char code) {
        counter.cellChanged(column, row, etap.plansza.at(column, row), code);
        etap.plansza.at(column, row) = code;
        EXPECT_EQ(counter.counts(), countCells(etap)) << column << "," << row;
    };
    paint(2, 2, 'S');
    paint(17, 10, '.'); // the exit goes
    paint(0, 4, '*');   // the ring, as a cut of a block reaching it
    paint(19, 1, '*');
    paint(18, 10, 'W');
    paint(5, 11, 'W'); // beyond the height
    EXPECT_EQ(statusCounts(counter.counts(), etap.parametry.IleD),
              (StatusCounts{"Diamenty: 5/10", "Start: 2", ""}));
    etap.parametry.Szer = 20; // the parameters dialog: the counter rebuilds on the new size
    etap.trimToSize();
    EXPECT_FALSE(counter.followSize(exampleEtap()));
    EXPECT_TRUE(counter.followSize(etap));
    EXPECT_EQ(counter.counts(), countCells(etap));
    // Columns 19 and 20 join with the old border's rivets and the diamond painted beyond.
    EXPECT_EQ(counter.counts().of('#'), 3 + 19);
    EXPECT_EQ(counter.counts().of('*'), 6);
}

TEST(InteriorCounter, StatusShowsStartsAndExitsOnlyWhileNotExactlyOne) {
    struct Case {
        int starts, exits, diamonds, ileD;
        StatusCounts shown;
    };
    const Case cases[] = {{1, 1, 0, 1, {"Diamenty: 0/1", "", ""}},
                          {0, 2, 12, 999, {"Diamenty: 12/999", "Start: 0", "Wyjście: 2"}},
                          {3, 0, 7, 7, {"Diamenty: 7/7", "Start: 3", "Wyjście: 0"}}};
    for (const Case& c : cases) {
        CellCounts counts;
        for (int i = 0; i < c.starts; ++i)
            counts.add('S');
        for (int i = 0; i < c.exits; ++i)
            counts.add('W');
        for (int i = 0; i < c.diamonds; ++i)
            counts.add('*');
        EXPECT_EQ(statusCounts(counts, c.ileD), c.shown);
    }
}

} // namespace
} // namespace krelwin
