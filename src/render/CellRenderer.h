// Drawing one stage cell: shared by the map view and anything else that pictures a stage.
#pragma once

#include "TileSet.h"

class QPainter;
class QRect;

namespace krelwin::render {

// Draws the cell with the given code into `cell` (right edge = left + width), the way the map
// view draws every cell, at the scale of `tiles`:
//   - a code with a tile: the whole tile image from the cell's top-left corner (also when the
//     column is narrower or wider), transparent where its mask says so;
//   - any other code, or a tile whose image is missing: the whole cell filled with the
//     painter's current brush (the fill colour);
//   - a creature: its direction mark, one pixel wide at full size, in the painter's current
//     pen colour, spanning the side it faces: at full size in the second pixel column or row
//     from the left or top edge, in the third from the right or bottom edge.
// The painter's pen and brush are read, never changed.
void drawCell(QPainter& canvas, const TileSet& tiles, char code, const QRect& cell);

// The line of a creature's direction mark within `cell` at `scale`; empty for other codes.
QRect directionMark(char code, const QRect& cell, Scale scale = Scale());

} // namespace krelwin::render
