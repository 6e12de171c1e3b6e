#include "editing.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

Etap clearedStage() { // 32 x 20
    Etap etap;
    etap.clearInterior();
    return etap;
}

TEST(Editing, FillWritesTheSelectionsInteriorColumnByColumn) {
    struct Case {
        Zaznaczenie selection;
        ZapisanePola written;
    };
    const Case cases[] = {
        {{0, 0, 3, 2}, {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}, {3, 2}}}, // into the top-left ring
        {{31, 19, 33, 21}, {{31, 19}, {31, 20}, {32, 19}, {32, 20}}},     // into the far ring
        {{5, 5, 4, 6}, {}},                                               // inverted
    };
    for (const Case& c : cases) {
        Etap etap = clearedStage();
        Etap expected = etap;
        for (const Pole& pole : c.written) {
            expected.plansza.at(pole.column, pole.row) = '=';
        }
        EXPECT_EQ(fillSelection(etap, c.selection, '='), c.written);
        EXPECT_EQ(etap, expected) << "nothing else, the ring least of all";
    }
    Etap etap = clearedStage();
    const ZapisanePola all = fillSelection(etap, Zaznaczenie{-7, -1, 500, 90}, 'o');
    EXPECT_EQ(all.size(), 32u * 20u) << "clamped to the array, then to the interior";
    EXPECT_EQ(all.back(), (Pole{32, 20}));
    fillSelection(etap, Zaznaczenie{2, 2, 5, 5}, '.');
    EXPECT_EQ(etap.countInInterior('.'), 16) << "the empty tool clears";
}

TEST(Editing, PaintWritesOnlyInteriorCellsInsideTheArray) {
    Etap etap = clearedStage();
    const std::pair<Pole, bool> cases[] = {{{7, 2}, true},    {{1, 1}, true},    {{32, 20}, true},
                                           {{0, 5}, false},   {{33, 5}, false},  {{5, 21}, false},
                                           {{81, 81}, false}, {{-1, 3}, false},  {{3, -1}, false},
                                           {{82, 3}, false},  {{3, 1000}, false}};
    for (const auto& [pole, written] : cases) {
        EXPECT_EQ(paintCell(etap, pole, '='), written) << pole.column << ',' << pole.row;
    }
    EXPECT_EQ(etap.countInInterior('='), 3);
    EXPECT_EQ(etap.plansza.at(0, 5), '#');
    etap.parametry.Szer = 200;
    EXPECT_FALSE(paintCell(etap, Pole{150, 3}, '=')) << "even with an oversized stage";
}

TEST(Editing, TurningActsOnAnyArrayCellAndOnlyOnCreatures) {
    Etap etap = clearedStage();
    etap.plansza.at(4, 4) = '>';
    etap.plansza.at(6, 6) = '*';
    etap.plansza.at(0, 7) = 'v'; // no interior test: a creature in the ring still turns
    EXPECT_EQ(turnCreatureAt(etap, Pole{4, 4}), '^');
    EXPECT_EQ(turnCreatureAt(etap, Pole{6, 6}), '*');
    EXPECT_EQ(turnCreatureAt(etap, Pole{0, 7}), '>');
    EXPECT_EQ(etap.plansza.at(4, 4), '^');
    EXPECT_EQ(etap.plansza.at(0, 7), '>');
    const Etap before = etap;
    EXPECT_EQ(turnCreatureAt(etap, Pole{-1, 0}), 'x');
    EXPECT_EQ(turnCreatureAt(etap, Pole{82, 0}), 'x');
    EXPECT_EQ(etap, before);
}

} // namespace
} // namespace krelwin
