// The few colours of a stage picture, so that it can be stored with one byte per pixel.
#pragma once

#include <QImage>
#include <QList>

namespace krelwin::render {

class TileSet;

// The colours a stage picture is drawn in: the background, the grid lines and direction marks,
// and every opaque colour of the tiles, each once, all fully opaque.
QList<QRgb> pictureColours(const TileSet& tiles);

// The picture as an 8-bit indexed image on `palette`, pixel for pixel the same; a null image
// when some pixel's colour is not in the palette or the palette has more than 256 colours.
QImage indexedIn(const QImage& picture, const QList<QRgb>& palette);

} // namespace krelwin::render
