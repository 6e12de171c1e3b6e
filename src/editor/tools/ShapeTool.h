// A shape drawn from the cell where the right button went down to the cell where it comes up
// (a line, a rectangle): the cells it would change are previewed while the button is held, and
// written on the release as one edit. A press where the view has no cell draws nothing.
#pragma once

#include "DrawingTool.h"

#include <vector>

namespace tools {

class ShapeTool : public DrawingTool {
public:
    using DrawingTool::DrawingTool;

    void press(std::optional<Cell> cell, Qt::KeyboardModifiers modifiers) override;
    void move(Cell cell) override;
    void release(Cell cell) override;
    void cancel() override;

protected:
    // The cells of the shape between the two cells, anywhere in the array.
    virtual std::vector<krelwin::Pole> shapeBetween(krelwin::Pole from, krelwin::Pole to) const = 0;

private:
    bool drawing_ = false;
    char code_ = 0;    // the tool when the press came
    Cell start_{0, 0}; // the pressed cell
};

} // namespace tools
