#include "editing.h"

#include <gtest/gtest.h>

namespace krelwin {
namespace {

Etap clearedStage() {
    Etap etap;
    etap.clearInterior();
    return etap;
}

TEST(Editing, FillWritesTheSelectionsInteriorColumnByColumn) {
    Etap etap = clearedStage();
    // A 4 x 3 selection reaching into the top-left corner of the ring.
    const ZapisanePola written = fillSelection(etap, Zaznaczenie{0, 0, 3, 2}, '=');
    const ZapisanePola expected{{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}, {3, 2}};
    EXPECT_EQ(written, expected);
    for (const Pole& pole : expected) {
        EXPECT_EQ(etap.plansza.at(pole.column, pole.row), '=');
    }
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(etap.plansza.at(i, 0), '#');
        EXPECT_EQ(etap.plansza.at(0, i), '#');
    }
    EXPECT_EQ(etap.plansza.at(1, 3), '.');
    EXPECT_EQ(etap.plansza.at(4, 1), '.');
}

TEST(Editing, FillAtTheFarCornerStopsAtTheRing) {
    Etap etap = clearedStage(); // 32 x 20
    const ZapisanePola written = fillSelection(etap, Zaznaczenie{31, 19, 33, 21}, '*');
    const ZapisanePola expected{{31, 19}, {31, 20}, {32, 19}, {32, 20}};
    EXPECT_EQ(written, expected);
    EXPECT_EQ(etap.plansza.at(33, 20), '#');
    EXPECT_EQ(etap.plansza.at(32, 21), '#');
}

TEST(Editing, FillWithTheEmptyToolClears) {
    Etap etap = clearedStage();
    fillSelection(etap, Zaznaczenie{2, 2, 5, 5}, '*');
    fillSelection(etap, Zaznaczenie{2, 2, 5, 5}, '.');
    EXPECT_EQ(etap.countInInterior('.'), 32 * 20);
}

TEST(Editing, FillClampsASelectionOutsideTheArray) {
    Etap etap = clearedStage();
    const ZapisanePola written = fillSelection(etap, Zaznaczenie{-7, -1, 500, 90}, 'o');
    EXPECT_EQ(written.size(), 32u * 20u);
    EXPECT_EQ(written.front(), (Pole{1, 1}));
    EXPECT_EQ(written.back(), (Pole{32, 20}));
    EXPECT_EQ(etap.countInInterior('o'), 32 * 20);
}

TEST(Editing, FillOfAnInvertedRectangleWritesNothing) {
    Etap etap = clearedStage();
    EXPECT_TRUE(fillSelection(etap, Zaznaczenie{5, 5, 4, 6}, 'o').empty());
    EXPECT_EQ(etap.countInInterior('o'), 0);
}

TEST(Editing, PaintWritesOnlyInteriorCells) {
    Etap etap = clearedStage();
    struct Case {
        Pole pole;
        bool written;
    };
    const Case cases[] = {
        {{7, 2}, true},   {{1, 1}, true},   {{32, 20}, true},   {{0, 5}, false},
        {{33, 5}, false}, {{5, 21}, false}, {{81, 81}, false},  {{-1, 3}, false},
        {{3, -1}, false}, {{82, 3}, false}, {{3, 1000}, false},
    };
    for (const auto& c : cases) {
        const char before = Plansza::inArray(c.pole.column, c.pole.row)
                                ? etap.plansza.at(c.pole.column, c.pole.row)
                                : '?';
        EXPECT_EQ(paintCell(etap, c.pole, '='), c.written) << c.pole.column << ',' << c.pole.row;
        if (Plansza::inArray(c.pole.column, c.pole.row)) {
            EXPECT_EQ(etap.plansza.at(c.pole.column, c.pole.row), c.written ? '=' : before);
        }
    }
    EXPECT_EQ(etap.countInInterior('='), 3);
}

TEST(Editing, PaintOutsideTheArrayIsRefusedEvenWithAnOversizedStage) {
    Etap etap = clearedStage();
    etap.parametry.Szer = 200;
    EXPECT_FALSE(paintCell(etap, Pole{150, 3}, '='));
}

TEST(Editing, TurningActsOnAnyCellAndOnlyOnCreatures) {
    Etap etap = clearedStage();
    etap.plansza.at(4, 4) = '>';
    etap.plansza.at(5, 5) = '/';
    etap.plansza.at(6, 6) = '*';
    EXPECT_EQ(turnCreatureAt(etap, Pole{4, 4}), '^');
    EXPECT_EQ(turnCreatureAt(etap, Pole{5, 5}), '|');
    EXPECT_EQ(turnCreatureAt(etap, Pole{6, 6}), '*');
    EXPECT_EQ(turnCreatureAt(etap, Pole{0, 0}), '#');
    EXPECT_EQ(etap.plansza.at(4, 4), '^');
    EXPECT_EQ(etap.plansza.at(5, 5), '|');

    // No interior test: a creature standing in the ring still turns.
    etap.plansza.at(0, 7) = 'v';
    EXPECT_EQ(turnCreatureAt(etap, Pole{0, 7}), '>');
}

TEST(Editing, TurningOutsideTheArrayFindsNoCell) {
    Etap etap = clearedStage();
    const Etap before = etap;
    EXPECT_EQ(turnCreatureAt(etap, Pole{-1, 0}), 'x');
    EXPECT_EQ(turnCreatureAt(etap, Pole{82, 0}), 'x');
    EXPECT_EQ(etap, before);
}

} // namespace
} // namespace krelwin
