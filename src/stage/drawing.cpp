#include "drawing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace krelwin {

namespace {

// One mark per cell of the array: the cells already taken by a walk.
class CellMask {
public:
    bool test(Pole pole) const { return marks_[pole.column][pole.row]; }
    void set(Pole pole) { marks_[pole.column][pole.row] = true; }

private:
    std::array<std::array<bool, RozmiarPlanszy>, RozmiarPlanszy> marks_{};
};

bool isInteriorCell(const Etap& etap, Pole pole) {
    return Plansza::inArray(pole.column, pole.row) && etap.isInterior(pole.column, pole.row);
}

bool wouldChange(const Etap& etap, Pole pole, char narzedzie) {
    return isInteriorCell(etap, pole) && etap.plansza.at(pole.column, pole.row) != narzedzie;
}

// The last interior column or row a walk may touch, inside the array whatever the size says.
int lastInterior(int32_t extent) {
    return std::clamp<int32_t>(extent, 0, RozmiarPlanszy - 2);
}

// The marked cells of the interior, column by column from the left, each column from the top.
ZapisanePola markedInOrder(const Etap& etap, const CellMask& mask, std::size_t count) {
    ZapisanePola cells;
    cells.reserve(count);
    const int lastColumn = lastInterior(etap.parametry.Szer);
    const int lastRow = lastInterior(etap.parametry.Wys);
    for (int column = 1; column <= lastColumn; ++column) {
        for (int row = 1; row <= lastRow; ++row) {
            if (mask.test(Pole{column, row})) {
                cells.push_back(Pole{column, row});
            }
        }
    }
    return cells;
}

// Writes the tool into cells known to be interior cells that change, and hands them back.
ZapisanePola writeTool(Etap& etap, ZapisanePola cells, char narzedzie) {
    for (const Pole pole : cells) {
        etap.plansza.at(pole.column, pole.row) = narzedzie;
    }
    return cells;
}

} // namespace

std::vector<Pole> lineBetween(Pole from, Pole to) {
    // 64 bits: the error term of cells far apart cannot overflow.
    const int64_t dx = std::llabs(int64_t{to.column} - from.column);
    const int64_t dy = -std::llabs(int64_t{to.row} - from.row);
    const int stepX = from.column < to.column ? 1 : -1;
    const int stepY = from.row < to.row ? 1 : -1;
    std::vector<Pole> cells;
    cells.reserve(std::size_t(std::max(dx, -dy)) + 1);
    int64_t error = dx + dy;
    Pole pole = from;
    while (true) {
        cells.push_back(pole);
        if (pole == to) {
            break;
        }
        const int64_t doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            pole.column += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            pole.row += stepY;
        }
    }
    return cells;
}

std::vector<Pole> rectangleBetween(Pole corner, Pole opposite, RectangleFill fill) {
    const int left = std::min(corner.column, opposite.column);
    const int right = std::max(corner.column, opposite.column);
    const int top = std::min(corner.row, opposite.row);
    const int bottom = std::max(corner.row, opposite.row);
    std::vector<Pole> cells;
    const int firstColumn = std::max(left, 0);
    const int lastColumn = std::min(right, RozmiarPlanszy - 1);
    const int firstRow = std::max(top, 0);
    const int lastRow = std::min(bottom, RozmiarPlanszy - 1);
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const bool wholeColumn = fill == RectangleFill::Filled || column == left || column == right;
        if (wholeColumn) {
            for (int row = firstRow; row <= lastRow; ++row) {
                cells.push_back(Pole{column, row});
            }
            continue;
        }
        // Between its left and right edges an outline has its top and bottom cells only.
        if (Plansza::inArray(column, top)) {
            cells.push_back(Pole{column, top});
        }
        if (bottom != top && Plansza::inArray(column, bottom)) {
            cells.push_back(Pole{column, bottom});
        }
    }
    return cells;
}

ZapisanePola cellsToChange(const Etap& etap, const std::vector<Pole>& shape, char narzedzie) {
    ZapisanePola cells;
    CellMask taken;
    for (const Pole pole : shape) {
        if (wouldChange(etap, pole, narzedzie) && !taken.test(pole)) {
            taken.set(pole);
            cells.push_back(pole);
        }
    }
    return cells;
}

ZapisanePola paintCells(Etap& etap, const std::vector<Pole>& cells, char narzedzie) {
    return writeTool(etap, cellsToChange(etap, cells, narzedzie), narzedzie);
}

ZapisanePola lineCells(const Etap& etap, Pole from, Pole to, char narzedzie) {
    return cellsToChange(etap, lineBetween(from, to), narzedzie);
}

ZapisanePola drawLine(Etap& etap, Pole from, Pole to, char narzedzie) {
    return paintCells(etap, lineBetween(from, to), narzedzie);
}

ZapisanePola rectangleCells(const Etap& etap, Pole corner, Pole opposite, RectangleFill fill,
                            char narzedzie) {
    return cellsToChange(etap, rectangleBetween(corner, opposite, fill), narzedzie);
}

ZapisanePola drawRectangle(Etap& etap, Pole corner, Pole opposite, RectangleFill fill,
                           char narzedzie) {
    return paintCells(etap, rectangleBetween(corner, opposite, fill), narzedzie);
}

ZapisanePola floodCells(const Etap& etap, Pole start, char narzedzie) {
    if (!wouldChange(etap, start, narzedzie)) {
        return {};
    }
    const char code = etap.plansza.at(start.column, start.row);
    CellMask area;
    // Each cell is marked as it is put on the stack, so it holds every cell at most once; kept
    // on the call stack, as a fill runs on every click.
    std::array<Pole, RozmiarPlanszy * RozmiarPlanszy> pending;
    std::size_t waiting = 0;
    std::size_t count = 0;
    const auto take = [&](Pole pole) {
        area.set(pole);
        pending[waiting++] = pole;
        ++count;
    };
    take(start);
    while (waiting > 0) {
        const Pole pole = pending[--waiting];
        const Pole neighbours[] = {{pole.column - 1, pole.row},
                                   {pole.column + 1, pole.row},
                                   {pole.column, pole.row - 1},
                                   {pole.column, pole.row + 1}};
        for (const Pole next : neighbours) {
            if (isInteriorCell(etap, next) && !area.test(next) &&
                etap.plansza.at(next.column, next.row) == code) {
                take(next);
            }
        }
    }
    return markedInOrder(etap, area, count);
}

ZapisanePola floodFill(Etap& etap, Pole start, char narzedzie) {
    return writeTool(etap, floodCells(etap, start, narzedzie), narzedzie);
}

ZapisanePola replaceCells(const Etap& etap, char code, char narzedzie,
                          const std::optional<Zaznaczenie>& within) {
    if (code == narzedzie) {
        return {};
    }
    const Zaznaczenie range = within.value_or(
        Zaznaczenie{1, 1, lastInterior(etap.parametry.Szer), lastInterior(etap.parametry.Wys)});
    ZapisanePola cells;
    const int right = Plansza::clampToArray(range.right);
    const int bottom = Plansza::clampToArray(range.bottom);
    for (int column = Plansza::clampToArray(range.left); column <= right; ++column) {
        for (int row = Plansza::clampToArray(range.top); row <= bottom; ++row) {
            const Pole pole{column, row};
            if (isInteriorCell(etap, pole) && etap.plansza.at(column, row) == code) {
                cells.push_back(pole);
            }
        }
    }
    return cells;
}

ZapisanePola replaceCode(Etap& etap, char code, char narzedzie,
                         const std::optional<Zaznaczenie>& within) {
    return writeTool(etap, replaceCells(etap, code, narzedzie, within), narzedzie);
}

} // namespace krelwin
