// A picture of a whole stage, border ring included, drawn as the editor's map view draws it.
#pragma once

#include "plansza.h"

#include <QImage>

namespace krelwin::render {

struct PictureOptions {
    bool grid = false; // the view's 1-pixel silver lines after every column and row
    int scale = 1;     // each pixel becomes a scale x scale block
};

// (Szer + 2) x (Wys + 2) cells: 28 pixels each, 29 with the grid (each cell followed by its
// line, as the view draws them), times the scale. Direction marks are silver, the colour of the
// view's pen once its grid lines have been drawn; nothing is selected. The picture is 8-bit
// indexed on the tiles' few colours (pictureColours), which makes a PNG of it small and quick to
// compress.
QImage pictureOfStage(const Etap& etap, const PictureOptions& options = {});

// Each pixel repeated into a factor x factor block: no smoothing, no new colours. An 8-bit
// indexed image stays indexed on its colour table; any other becomes RGB32.
QImage enlarged(const QImage& image, int factor);

} // namespace krelwin::render
