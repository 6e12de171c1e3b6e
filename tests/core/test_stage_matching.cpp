// Which stage is which between two packs: identical content first (duplicates by name, then in
// order), then the same name near where the stage is expected; the rest removed or added; moves
// are the pairs outside the longest run that keeps its order.
#include "content_hash.h"
#include "stage_matching.h"

#include "stage_identities.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

struct Matching {
    const char* what;
    std::vector<std::string> before;
    std::vector<std::string> after;
    std::vector<long> newOf;
    std::vector<long> moved; // old indices
};

TEST(StageMatching, FollowsEachStageByContentThenByNameNearby) {
    const long gone = Unpaired;
    const std::vector<Matching> cases{
        {"identical packs", {"A1", "B2", "C3"}, {"A1", "B2", "C3"}, {0, 1, 2}, {}},
        {"both empty", {}, {}, {}, {}},
        {"all added", {}, {"A1", "B2"}, {}, {}},
        {"all removed", {"A1", "B2"}, {}, {gone, gone}, {}},
        {"first stage moved last",
         {"A1", "B2", "C3", "D4"},
         {"B2", "C3", "D4", "A1"},
         {3, 0, 1, 2},
         {0}},
        {"last stage moved first",
         {"A1", "B2", "C3", "D4"},
         {"D4", "A1", "B2", "C3"},
         {1, 2, 3, 0},
         {3}},
        {"shifted by an added stage: not moved", {"A1", "B2"}, {"N9", "A1", "B2"}, {1, 2}, {}},
        {"renamed: same content", {"A1", "B2"}, {"X1", "B2"}, {0, 1}, {}},
        {"changed in place", {"A1", "B2", "C3"}, {"A1", "B9", "C3"}, {0, 1, 2}, {}},
        {"changed, four stages added before it",
         {"A1", "B2", "C3"},
         {"N5", "N6", "N7", "N8", "A1", "B9", "C3"},
         {4, 5, 6},
         {}},
        {"changed, expected from the stage after it",
         {"A1", "X2", "B3"},
         {"A1", "N5", "N6", "N7", "N8", "X9", "B3"},
         {0, 5, 6},
         {}},
        {"same name too far: removed and added",
         {"X1", "A2", "B3", "C4", "D5", "E6"},
         {"A2", "B3", "C4", "D5", "E6", "X9"},
         {gone, 0, 1, 2, 3, 4},
         {}},
        {"same name twice nearby: the first of the nearest",
         {"A1", "X2", "B3"},
         {"A1", "X8", "X9", "B3"},
         {0, 1, 3},
         {}},
        {"identical content wins over the name", {"A1", "B2"}, {"A2", "B1"}, {1, 0}, {0}},
        {"a duplicate removed: the one of the same name stays",
         {"A1", "K1", "B2"},
         {"K1", "B2"},
         {gone, 0, 1},
         {}},
        {"duplicates swapped: followed by their names", {"A1", "B1"}, {"B1", "A1"}, {1, 0}, {0}},
        {"duplicates renamed: paired in order", {"P1", "Q1"}, {"R1", "S1", "T1"}, {0, 1}, {}},
        {"the second of two copies changed", {"A1", "A1", "B2"}, {"A1", "A7", "B2"}, {0, 1, 2}, {}},
        {"the first of two copies changed", {"A1", "A1", "B2"}, {"A7", "A1", "B2"}, {0, 1, 2}, {}},
    };
    for (const Matching& c : cases) {
        const StageMatching matching = matchStages(pack(c.before), pack(c.after));
        EXPECT_EQ(matching.newOf, c.newOf) << c.what;
        std::vector<long> oldOf(c.after.size(), Unpaired);
        std::vector<long> moved;
        for (std::size_t o = 0; o < c.newOf.size(); ++o) {
            if (c.newOf[o] != Unpaired) {
                oldOf[c.newOf[o]] = static_cast<long>(o);
            }
            if (matching.moved.at(o)) {
                moved.push_back(static_cast<long>(o));
            }
        }
        EXPECT_EQ(matching.oldOf, oldOf) << c.what;
        EXPECT_EQ(moved, c.moved) << c.what;
    }
}

TEST(ContentHash, IsXxHash64) {
    // Published xxHash64 values, seed 0: the short inputs take the tail steps alone, the longer
    // ones the four lanes too.
    std::string firstBytes;
    for (char c = 0; c < 40; ++c) {
        firstBytes += c;
    }
    std::string names;
    for (int i = 0; i < 7; ++i) {
        names += "(Etap 01)\r\n";
    }
    EXPECT_EQ(contentHash(""), 0xEF46DB3751D8E999ull);
    EXPECT_EQ(contentHash("a"), 0xD24EC4F1A98C6E5Bull);
    EXPECT_EQ(contentHash("abc"), 0x44BC2CF5AD770999ull);
    EXPECT_EQ(contentHash("}\r\n18,10,010"), 0xBD7162560D5E595Eull);
    EXPECT_EQ(contentHash(firstBytes), 0xF5DA40F1B11741E9ull);
    EXPECT_EQ(contentHash(names), 0xA24846BDD95015F3ull);
}

} // namespace
} // namespace krelwin
