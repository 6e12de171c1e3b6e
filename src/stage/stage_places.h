// Every stage of a file with where its lines begin, past the hundredth too, found in one walk:
// what a view of a whole pack needs in order to name each stage and to load any one of them
// later without walking the file to it again.
#pragma once

#include "plansza.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace krelwin {

struct StagePlace {
    std::string name;     // as the stage list names it (listedName), as stored
    off_t linesStart = 0; // the line after the stage's "}" line: its parameter line
};

// The stages of the file at `path` in file order, each as the stage locator finds it.
// Throws MissingFileMessage, NotRegularFileMessage, InOutError.
std::vector<StagePlace> readStagePlaces(const std::string& path);

// Loads the stage whose lines begin at `linesStart` (a place readStagePlaces found in this
// file) exactly as CzytajEtap loads it, parameter pass included.
// Throws MissingFileMessage, NotRegularFileMessage, ConversionError, InOutError.
Etap loadStageAt(const std::string& path, off_t linesStart);

} // namespace krelwin
