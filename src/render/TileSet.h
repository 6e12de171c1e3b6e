// The fourteen 28x28 tile images with their transparency, as compiled into the program.
#pragma once

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

    explicit TileSet(Images images);

    // Null when the tile is missing. Index 0..TileCount-1.
    const QImage& image(int index) const { return images_.at(index); }
    bool hasImage(int index) const;

private:
    Images images_;
};

} // namespace krelwin::render
