// The application icon at a given size from its one small pixel drawing: each drawing pixel
// becomes a whole square of pixels, never smoothed, and what the largest whole multiple leaves
// over is transparent padding around the centred drawing. So every size stays crisp and shows
// the same squares. The icon theme's files are made by the same function at build time.
#pragma once

#include <QIcon>
#include <QImage>

#include <array>

namespace krelwin {

// The sizes the icon theme gets and the window offers.
inline constexpr std::array<int, 7> IconSizes{16, 24, 32, 48, 64, 96, 128};

// `drawing` scaled by the largest whole factor that fits `size` (at least 1) and centred on a
// transparent square of `size` pixels.
QImage pixelIconAt(const QImage& drawing, int size);

// The program's icon at every size of IconSizes, from the drawing in its resources.
QIcon applicationIcon();

} // namespace krelwin
