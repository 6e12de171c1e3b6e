#include "LineTool.h"

#include "drawing.h"

namespace tools {

std::vector<krelwin::Pole> LineTool::shapeBetween(krelwin::Pole from, krelwin::Pole to) const {
    return krelwin::lineBetween(from, to);
}

} // namespace tools
