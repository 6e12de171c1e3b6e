// The fourteen 28x28 tile images with their transparency, as compiled into the program, and
// the same tiles at another scale.
#pragma once

#include "Scale.h"
#include "cells.h"

#include <QImage>

#include <array>

namespace krelwin::render {

inline constexpr int TileSize = 28;

class TileSet {
public:
    using Images = std::array<QImage, TileCount>;

    // The tiles of the program's resources, loaded once. A tile whose image is missing or
    // unreadable is a null image; cells of its kind are then drawn as plain squares.
    static const TileSet& builtIn();

    explicit TileSet(Images images, Scale scale = Scale());

    // These tiles at `scale` of the full tile size, sampled pixel by pixel with no smoothing, so
    // that they keep their own colours and hard edges.
    TileSet scaled(Scale scale) const;

    // Null when the tile is missing. Index 0..TileCount-1.
    const QImage& image(int index) const { return images_.at(index); }
    bool hasImage(int index) const;
    // The scale at which these tiles, and the marks drawn with them, are shown.
    Scale scale() const { return scale_; }

private:
    Images images_;
    Scale scale_;
};

} // namespace krelwin::render
