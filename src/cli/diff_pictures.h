// The pictures of diff --png: for each changed stage, the new stage with its changed cells
// outlined. They are drawn with the editor's renderer, so only krelwin-stage-pictures makes
// them; krelwin-stage hands a diff with --png over to it (picture_program.h).
#pragma once

#include "plansza.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace krelwin::cli {

// A cell of the stage as the map view addresses it: column and row, the interior from 1.
using CellPosition = std::pair<int, int>;

class ChangePictures {
public:
    virtual ~ChangePictures() = default;
    // Writes the picture of the stage at `index` of the new pack into the folder, named as
    // render --all names it ("005.png"), with a red frame around each of the cells.
    virtual void write(long index, const Etap& etap, const std::vector<CellPosition>& cells) = 0;
};

// Creates the folder when missing. Throws PlainMessage when it cannot, or, in krelwin-stage
// itself, when the picture program could not be started.
std::unique_ptr<ChangePictures> openChangePictures(const std::string& folder);

} // namespace krelwin::cli
