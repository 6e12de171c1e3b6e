// The scale at which stage cells are shown: a whole number of screen pixels for every length,
// so that tiles, marks and lines stay sharp. Lengths measured from a cell's top or left edge
// round down and lengths measured back from its bottom or right edge round up, so that a mark
// stays inside its cell and on its side; a line or mark is never thinner than one pixel.
#pragma once

#include <algorithm>
#include <array>

namespace krelwin::render {

class Scale {
public:
    // The scales the map view offers, smallest first; 100 shows every pixel as drawn.
    static constexpr std::array<int, 4> Steps{25, 50, 100, 200};
    static constexpr int Full = 100;

    constexpr Scale() = default;
    constexpr explicit Scale(int percent) : percent_(std::max(1, percent)) {}

    constexpr int percent() const { return percent_; }

    // `pixels` at this scale, rounded down.
    constexpr int length(int pixels) const { return pixels * percent_ / 100; }
    // `pixels` at this scale, rounded up.
    constexpr int lengthUp(int pixels) const { return (pixels * percent_ + 99) / 100; }
    // The width of a line `pixels` wide at this scale: at least one pixel.
    constexpr int thickness(int pixels) const { return std::max(1, length(pixels)); }
    // A distance on the screen taken back to the cells' own pixels, rounded toward zero.
    constexpr int unscaled(int screenPixels) const { return screenPixels * 100 / percent_; }

    constexpr bool operator==(const Scale&) const = default;

private:
    int percent_ = Full;
};

// The scale `steps` places up (positive) or down the list from `percent`, held at the list's
// ends; a scale off the list steps from the nearest one below it (or the smallest).
constexpr int steppedScale(int percent, int steps) {
    int place = 0;
    for (int index = 0; index < int(Scale::Steps.size()); ++index)
        if (Scale::Steps[index] <= percent)
            place = index;
    place = std::clamp(place + steps, 0, int(Scale::Steps.size()) - 1);
    return Scale::Steps[place];
}

} // namespace krelwin::render
