// A stage drawn small, for a view of many stages at once: its cells painted as the map view
// paints them at its smallest scale, then reduced with smoothing into a box.
#pragma once

#include "plansza.h"

#include <QImage>
#include <QSize>

namespace krelwin::render {

// The scale, in percent, at which the cells are painted before the reduction.
inline constexpr int MiniatureScale = 25;

// The whole stage, border ring included, without grid lines and with silver direction marks,
// fitted into `box` with its proportions kept; a stage smaller than the box at MiniatureScale
// is not enlarged. Safe to call from any thread.
QImage miniatureOfStage(const Etap& etap, QSize box);

} // namespace krelwin::render
