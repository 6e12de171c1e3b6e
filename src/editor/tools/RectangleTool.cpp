#include "RectangleTool.h"

namespace tools {

std::vector<krelwin::Pole> RectangleTool::shapeBetween(krelwin::Pole from, krelwin::Pole to) const {
    return krelwin::rectangleBetween(from, to, fill_);
}

} // namespace tools
