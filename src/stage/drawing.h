// Drawing with a tool: a straight line, a rectangle (outline or filled), a flood fill and the
// replacement of one code. Each comes as a pair:
//
//   - a planning function that only reads the stage and returns the cells the drawing would
//     change (the map view previews them while the user drags);
//   - a drawing function that writes the tool into exactly those cells and returns them, for the
//     redraw and for the history.
//
// Only interior cells (1 <= column <= Szer, 1 <= row <= Wys) are ever planned or written, only
// where their code differs from the tool, and each cell once. The order is fixed for each shape:
// a line from its first end to its last; rectangles, fills and replacements column by column
// from the left and within a column from the top, the walk every range operation uses.
#pragma once

#include "editing.h"

#include <optional>
#include <vector>

namespace krelwin {

// The cells of the straight line from `from` to `to`, both ends included, from `from` on: one
// cell for each step along the longer axis, the other axis stepping where the ideal line
// crosses the middle between two cells (Bresenham's walk, so consecutive cells touch at least
// at a corner). Not clipped: callers pass cells of the array or just beside it.
std::vector<Pole> lineBetween(Pole from, Pole to);

enum class RectangleFill { Outline, Filled };

// The cells of the rectangle with the two opposite corners (given in any order), its outline or
// all of it, clipped to the 82 x 82 array: the edges that lie beyond it are not part of it.
std::vector<Pole> rectangleBetween(Pole corner, Pole opposite, RectangleFill fill);

// Of the cells of `shape`, the interior ones whose code differs from the tool, each once, in the
// shape's order.
ZapisanePola cellsToChange(const Etap& etap, const std::vector<Pole>& shape, char narzedzie);

// Writes the tool into those cells of `cells` that cellsToChange keeps; returns them.
ZapisanePola paintCells(Etap& etap, const std::vector<Pole>& cells, char narzedzie);

ZapisanePola lineCells(const Etap& etap, Pole from, Pole to, char narzedzie);
ZapisanePola drawLine(Etap& etap, Pole from, Pole to, char narzedzie);

ZapisanePola rectangleCells(const Etap& etap, Pole corner, Pole opposite, RectangleFill fill,
                            char narzedzie);
ZapisanePola drawRectangle(Etap& etap, Pole corner, Pole opposite, RectangleFill fill,
                           char narzedzie);

// The area of interior cells holding the start cell's code that the start cell reaches through
// left, right, up and down neighbours (never diagonally). Nothing when the start is not an
// interior cell or already holds the tool.
ZapisanePola floodCells(const Etap& etap, Pole start, char narzedzie);
ZapisanePola floodFill(Etap& etap, Pole start, char narzedzie);

// Every interior cell holding `code`, within the selection when one is given (a selection
// reaching beyond the interior is cut to it). Nothing when `code` is the tool.
ZapisanePola replaceCells(const Etap& etap, char code, char narzedzie,
                          const std::optional<Zaznaczenie>& within = std::nullopt);
ZapisanePola replaceCode(Etap& etap, char code, char narzedzie,
                         const std::optional<Zaznaczenie>& within = std::nullopt);

} // namespace krelwin
