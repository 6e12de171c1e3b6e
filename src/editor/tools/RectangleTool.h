// "Prostokąt" and "Prostokąt pełny": the outline of the rectangle between the pressed and the
// released cell, or all of it.
#pragma once

#include "ShapeTool.h"
#include "drawing.h"

namespace tools {

class RectangleTool : public ShapeTool {
public:
    RectangleTool(ToolContext context, krelwin::RectangleFill fill)
        : ShapeTool(std::move(context)), fill_(fill) {}

protected:
    std::vector<krelwin::Pole> shapeBetween(krelwin::Pole from, krelwin::Pole to) const override;

private:
    krelwin::RectangleFill fill_;
};

} // namespace tools
