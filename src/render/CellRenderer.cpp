#include "CellRenderer.h"

#include <QPainter>
#include <QRect>

namespace krelwin::render {

QRect directionMark(char code, const QRect& cell) {
    const int left = cell.x();
    const int top = cell.y();
    const int width = cell.width();
    const int height = cell.height();
    switch (facingOf(code)) {
    case Strona::Lewo:
        return {left + 1, top, 1, height};
    case Strona::Gora:
        return {left, top + 1, width, 1};
    case Strona::Prawo:
        return {left + width - 3, top, 1, height};
    case Strona::Dol:
        return {left, top + height - 3, width, 1};
    case Strona::Brak:
        break;
    }
    return {};
}

void drawCell(QPainter& canvas, const TileSet& tiles, char code, const QRect& cell) {
    const int tile = tileImageOf(code);
    if (tiles.hasImage(tile))
        canvas.drawImage(cell.topLeft(), tiles.image(tile));
    else
        canvas.fillRect(cell, canvas.brush());
    const QRect mark = directionMark(code, cell);
    if (!mark.isEmpty())
        canvas.fillRect(mark, canvas.pen().brush());
}

} // namespace krelwin::render
