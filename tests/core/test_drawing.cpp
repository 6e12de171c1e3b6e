// Lines, rectangles, flood fills and replacements: each case is a small stage drawn as text,
// one drawing, and the stage expected after it; the cells reported must be exactly those that
// differ, column by column from the left, and the planning function must agree without writing.
#include "drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace krelwin {

void PrintTo(const Pole& pole, std::ostream* out) {
    *out << '(' << pole.column << ',' << pole.row << ')';
}

namespace {

using Picture = std::vector<std::string>; // interior rows from row 1, a character per column

Etap stageFrom(const Picture& rows) {
    Etap etap; // the ring and everything beyond it stay "#"
    etap.parametry.Wys = int(rows.size());
    etap.parametry.Szer = int(rows.front().size());
    for (int row = 1; row <= etap.parametry.Wys; ++row) {
        for (int column = 1; column <= etap.parametry.Szer; ++column) {
            etap.plansza.at(column, row) = rows[row - 1][column - 1];
        }
    }
    return etap;
}

// The cells where two stages differ, anywhere in the array, in the order the drawings report
// all but lines.
ZapisanePola differences(const Etap& before, const Etap& after) {
    ZapisanePola cells;
    for (int column = 0; column < RozmiarPlanszy; ++column) {
        for (int row = 0; row < RozmiarPlanszy; ++row) {
            if (before.plansza.at(column, row) != after.plansza.at(column, row)) {
                cells.push_back(Pole{column, row});
            }
        }
    }
    return cells;
}

struct Drawing {
    std::function<ZapisanePola(const Etap&)> plan;
    std::function<ZapisanePola(Etap&)> draw;
};

Drawing line(Pole from, Pole to, char tool) {
    return {[=](const Etap& e) { return lineCells(e, from, to, tool); },
            [=](Etap& e) { return drawLine(e, from, to, tool); }};
}
Drawing rectangle(Pole a, Pole b, RectangleFill fill, char tool) {
    return {[=](const Etap& e) { return rectangleCells(e, a, b, fill, tool); },
            [=](Etap& e) { return drawRectangle(e, a, b, fill, tool); }};
}
Drawing flood(Pole start, char tool) {
    return {[=](const Etap& e) { return floodCells(e, start, tool); },
            [=](Etap& e) { return floodFill(e, start, tool); }};
}
Drawing replace(char code, char tool, std::optional<Zaznaczenie> within = std::nullopt) {
    return {[=](const Etap& e) { return replaceCells(e, code, tool, within); },
            [=](Etap& e) { return replaceCode(e, code, tool, within); }};
}

struct Case {
    const char* what;
    Picture before;
    Drawing drawing;
    Picture after;
};

void expectDrawn(const Case& c, bool reportedInLineOrder = false) {
    SCOPED_TRACE(c.what);
    Etap etap = stageFrom(c.before);
    const Etap before = etap;
    const ZapisanePola planned = c.drawing.plan(etap);
    EXPECT_EQ(etap, before) << "planning writes nothing";
    const ZapisanePola drawn = c.drawing.draw(etap);
    EXPECT_EQ(etap, stageFrom(c.after));
    EXPECT_EQ(drawn, planned);
    if (!reportedInLineOrder) {
        EXPECT_EQ(drawn, differences(before, etap));
    }
}

const Picture Empty = {"......", "......", "......", "......"}; // 6 x 4

TEST(Drawing, LinesFollowTheNearestCellsFromEndToEnd) {
    struct LineCase {
        Pole from;
        Pole to;
        std::vector<Pole> cells;
    };
    const LineCase cases[] = {
        {{3, 3}, {3, 3}, {{3, 3}}},
        {{2, 5}, {5, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {{5, 5}, {2, 5}, {{5, 5}, {4, 5}, {3, 5}, {2, 5}}},
        {{4, 4}, {4, 1}, {{4, 4}, {4, 3}, {4, 2}, {4, 1}}},
        {{1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        // Slope 1/3: the ideal line is at rows 1, 1.33, 1.67, 2, 2.33, 2.67, 3.
        {{1, 1}, {7, 3}, {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}, {6, 3}, {7, 3}}},
        // Steep, slope 5: columns 2, 2.2, 2.4, 2.6, 2.8, 3.
        {{2, 1}, {3, 6}, {{2, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5}, {3, 6}}},
        {{-2, 0}, {1, 0}, {{-2, 0}, {-1, 0}, {0, 0}, {1, 0}}}, // not clipped
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(lineBetween(c.from, c.to), c.cells) << c.from.column << ',' << c.from.row;
    }
}

// Every line between cells of a 9 x 9 block: one cell per step of the longer axis, each step
// moving one cell along it, and no cell further than half a cell from the ideal line.
TEST(Drawing, EveryLineIsGaplessAndNearTheIdealLine) {
    for (int a = 0; a < 81; ++a) {
        for (int b = 0; b < 81; ++b) {
            const Pole from{a % 9, a / 9};
            const Pole to{b % 9, b / 9};
            const std::vector<Pole> cells = lineBetween(from, to);
            const int dx = to.column - from.column;
            const int dy = to.row - from.row;
            const bool wide = std::abs(dx) >= std::abs(dy);
            ASSERT_EQ(int(cells.size()), std::max(std::abs(dx), std::abs(dy)) + 1);
            ASSERT_EQ(cells.front(), from);
            ASSERT_EQ(cells.back(), to);
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const Pole cell = cells[i];
                // Where along the line the cell stands (0 to 1), and the ideal line there.
                const double t = wide ? (dx == 0 ? 0.0 : double(cell.column - from.column) / dx)
                                      : double(cell.row - from.row) / dy;
                const double ideal = wide ? from.row + t * dy : from.column + t * dx;
                ASSERT_LE(std::abs((wide ? cell.row : cell.column) - ideal), 0.5)
                    << from.column << ',' << from.row << " -> " << to.column << ',' << to.row;
                if (i > 0) {
                    const Pole previous = cells[i - 1];
                    ASSERT_EQ(
                        std::abs(wide ? cell.column - previous.column : cell.row - previous.row),
                        1);
                    ASSERT_LE(std::abs(cell.column - previous.column) +
                                  std::abs(cell.row - previous.row),
                              2);
                }
            }
        }
    }
}

TEST(Drawing, LinesWriteOnlyTheInteriorCellsThatChange) {
    const Case cases[] = {
        {"a diagonal from beyond the corner",
         Empty,
         line({-3, -3}, {3, 3}, '='),
         {"=.....", ".=....", "..=...", "......"}},
        {"across the whole stage and out",
         Empty,
         line({0, 2}, {40, 2}, '+'),
         {"......", "++++++", "......", "......"}},
        {"along the last row",
         Empty,
         line({6, 4}, {1, 4}, 'o'),
         {"......", "......", "......", "oooooo"}},
        {"over cells that hold the tool",
         {"..=...", "......", "......", "......"},
         line({1, 1}, {4, 1}, '='),
         {"====..", "......", "......", "......"}},
        {"one cell", Empty, line({6, 1}, {6, 1}, 'W'), {".....W", "......", "......", "......"}},
        {"all in the ring", Empty, line({0, 0}, {7, 0}, 'W'), Empty},
    };
    for (const Case& c : cases) {
        expectDrawn(c, true);
    }
    Etap etap = stageFrom(Empty);
    EXPECT_EQ(drawLine(etap, Pole{6, 3}, Pole{1, 1}, '*'),
              (ZapisanePola{{6, 3}, {5, 3}, {4, 2}, {3, 2}, {2, 1}, {1, 1}}))
        << "reported from the first end";
}

TEST(Drawing, RectanglesAreWalkedColumnByColumnAndClippedToTheArray) {
    using enum RectangleFill;
    EXPECT_EQ(rectangleBetween({2, 2}, {4, 4}, Outline),
              (std::vector<Pole>{{2, 2}, {2, 3}, {2, 4}, {3, 2}, {3, 4}, {4, 2}, {4, 3}, {4, 4}}));
    EXPECT_EQ(rectangleBetween({4, 4}, {2, 2}, Outline), rectangleBetween({2, 2}, {4, 4}, Outline))
        << "corners in any order";
    EXPECT_EQ(rectangleBetween({3, 5}, {3, 5}, Outline), (std::vector<Pole>{{3, 5}}));
    EXPECT_EQ(rectangleBetween({2, 3}, {4, 3}, Outline),
              (std::vector<Pole>{{2, 3}, {3, 3}, {4, 3}}))
        << "one row, each cell once";
    EXPECT_EQ(rectangleBetween({5, 1}, {5, 3}, Outline),
              (std::vector<Pole>{{5, 1}, {5, 2}, {5, 3}}));
    EXPECT_EQ(rectangleBetween({1, 1}, {2, 2}, Filled),
              (std::vector<Pole>{{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
    EXPECT_TRUE(rectangleBetween({-5, -5}, {100, 100}, Outline).empty())
        << "every edge lies beyond the array";
    EXPECT_TRUE(rectangleBetween({5, 90}, {7, 95}, Outline).empty());
    EXPECT_EQ(rectangleBetween({-5, -5}, {100, 100}, Filled).size(), 82u * 82u);
    EXPECT_EQ(rectangleBetween({80, 79}, {90, 79}, Outline),
              (std::vector<Pole>{{80, 79}, {81, 79}}));
}

TEST(Drawing, RectanglesWriteOnlyTheInteriorCellsThatChange) {
    using enum RectangleFill;
    const Case cases[] = {
        {"outline",
         Empty,
         rectangle({2, 1}, {5, 3}, Outline, '#'),
         {".####.", ".#..#.", ".####.", "......"}},
        {"filled, corners swapped",
         Empty,
         rectangle({5, 3}, {2, 2}, Filled, '='),
         {"......", ".====.", ".====.", "......"}},
        {"outline across the top-left ring",
         Empty,
         rectangle({0, 0}, {3, 2}, Outline, 'o'),
         {"..o...", "ooo...", "......", "......"}},
        {"outline across the bottom-right ring",
         Empty,
         rectangle({4, 3}, {9, 9}, Outline, '+'),
         {"......", "......", "...+++", "...+.."}},
        {"filled over the whole array",
         {"*.....", "......", "......", ".....*"},
         rectangle({0, 0}, {81, 81}, Filled, '*'),
         {"******", "******", "******", "******"}},
        {"one row",
         Empty,
         rectangle({1, 4}, {6, 4}, Outline, '~'),
         {"......", "......", "......", "~~~~~~"}},
        {"one cell in the ring", Empty, rectangle({7, 2}, {7, 2}, Filled, '~'), Empty},
        {"cells already holding the tool",
         {"=.....", "......", "......", "......"},
         rectangle({1, 1}, {2, 2}, Filled, '='),
         {"==....", "==....", "......", "......"}},
    };
    for (const Case& c : cases) {
        expectDrawn(c);
    }
}

TEST(Drawing, FloodFillTakesTheFourConnectedAreaOfTheStartCode) {
    const Picture walls = {"..#...", "..#.#.", "###.#.", ".#..#."};
    const Case cases[] = {
        {"bounded by other codes",
         walls,
         flood({1, 1}, '+'),
         {"++#...", "++#.#.", "###.#.", ".#..#."}},
        {"round a wall, along the interior's edges",
         walls,
         flood({6, 4}, 'o'),
         {"..#ooo", "..#o#o", "###o#o", ".#oo#o"}},
        {"a diagonal gap does not leak",
         {".#....", "#.....", "......", "......"},
         flood({1, 1}, '*'),
         {"*#....", "#.....", "......", "......"}},
        {"the wall's own code, never the ring's",
         walls,
         flood({3, 1}, '='),
         {"..=...", "..=.#.", "===.#.", ".=..#."}},
        {"one cell", walls, flood({1, 4}, 'W'), {"..#...", "..#.#.", "###.#.", "W#..#."}},
        {"the whole interior", Empty, flood({4, 2}, '~'), {"~~~~~~", "~~~~~~", "~~~~~~", "~~~~~~"}},
        {"the start holds the tool", walls, flood({1, 1}, '.'), walls},
        {"the start is in the ring", walls, flood({0, 1}, '+'), walls},
        {"the start is beyond the array", walls, flood({-1, 90}, '+'), walls},
    };
    for (const Case& c : cases) {
        expectDrawn(c);
    }
}

TEST(Drawing, ReplaceTakesEveryCellOfTheCodeInTheStageOrTheSelection) {
    const Picture stones = {"o..o.o", ".o....", "...o..", "o....o"};
    const Case cases[] = {
        {"the whole stage", stones, replace('o', '*'), {"*..*.*", ".*....", "...*..", "*....*"}},
        {"within a selection",
         stones,
         replace('o', '*', Zaznaczenie{2, 1, 4, 3}),
         {"o..*.o", ".*....", "...*..", "o....o"}},
        {"a selection reaching into the ring",
         stones,
         replace('o', '+', Zaznaczenie{0, 3, 9, 9}),
         {"o..o.o", ".o....", "...+..", "+....+"}},
        {"the ring's code stays in the ring",
         {"#.....", "......", "......", ".....#"},
         replace('#', '='),
         {"=.....", "......", "......", ".....="}},
        {"the code is the tool", stones, replace('o', 'o'), stones},
        {"no cell of the code", stones, replace('W', 'S'), stones},
    };
    for (const Case& c : cases) {
        expectDrawn(c);
    }
}

} // namespace
} // namespace krelwin
