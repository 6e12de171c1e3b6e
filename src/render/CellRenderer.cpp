#include "CellRenderer.h"

#include <QPainter>
#include <QRect>

namespace krelwin::render {

QRect directionMark(char code, const QRect& cell, Scale scale) {
    const int left = cell.x();
    const int top = cell.y();
    const int width = cell.width();
    const int height = cell.height();
    const int line = scale.thickness(1);
    switch (facingOf(code)) {
    case Strona::Lewo:
        return {left + scale.length(1), top, line, height};
    case Strona::Gora:
        return {left, top + scale.length(1), width, line};
    case Strona::Prawo:
        return {left + width - scale.lengthUp(3), top, line, height};
    case Strona::Dol:
        return {left, top + height - scale.lengthUp(3), width, line};
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
    const QRect mark = directionMark(code, cell, tiles.scale());
    if (!mark.isEmpty())
        canvas.fillRect(mark, canvas.pen().brush());
}

} // namespace krelwin::render
