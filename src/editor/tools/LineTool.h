// "Linia": a straight line of the current tool from the pressed cell to the released one.
#pragma once

#include "ShapeTool.h"

namespace tools {

class LineTool : public ShapeTool {
public:
    using ShapeTool::ShapeTool;

protected:
    std::vector<krelwin::Pole> shapeBetween(krelwin::Pole from, krelwin::Pole to) const override;
};

} // namespace tools
