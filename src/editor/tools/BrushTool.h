// "Pędzel": the right button paints every interior cell the pointer passes, the cells between
// two reported cells included (a straight line between them), so a fast move leaves no gap.
// The stroke is previewed while the button is held and written on its release as one edit.
//
// The press itself is the plain right press: with a one-cell selection it paints the cell under
// the mouse and makes it the current cell; with several cells selected it fills the selection's
// interior at once, and that is the whole gesture.
#pragma once

#include "DrawingTool.h"

#include <vector>

namespace tools {

class BrushTool : public DrawingTool {
public:
    using DrawingTool::DrawingTool;

    void press(std::optional<Cell> cell, Qt::KeyboardModifiers modifiers) override;
    void move(Cell cell) override;
    void release(Cell cell) override;
    void cancel() override;

private:
    // Adds the cells from `from` to `to` that the stroke would change.
    void strokeTo(Cell to);

    bool stroking_ = false;
    char code_ = 0;   // the tool when the stroke began
    Cell last_{0, 0}; // where the pointer was last reported
    krelwin::ZapisanePola stroke_;
};

} // namespace tools
