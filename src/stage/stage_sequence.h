// Loading the stages of a file one after another in a single pass, front to back, each exactly
// as the load of one stage by its index reads it.
#pragma once

#include "plansza.h"

#include <functional>
#include <string>
#include <string_view>

namespace krelwin {

class LineReader;

// The lines that follow a stage's "}" line, turned into the stage as the load reads them: the
// parameter line, the "{" line, then one row line per row of the stored height (at most 80).
// Past the file's end the load reads empty lines; feed those as empty lines too.
class StageLoad {
public:
    // Takes the next line. Throws ConversionError for a parameter line that does not convert.
    void take(std::string_view line);
    bool complete() const { return linesTaken_ >= 2 && rowsTaken_ >= rows_; }
    // The loaded stage with its parameters brought into range. Only once complete.
    Etap result() const;

private:
    Etap etap_;
    int linesTaken_ = 0; // the parameter and "{" lines
    int rows_ = 0;
    int rowsTaken_ = 0;
};

// Loads the stage whose lines (the parameter line first) start where `reader` stands.
// Throws ConversionError for a parameter line that does not convert, InOutError.
Etap loadStageFrom(LineReader& reader);

// Calls `onStage(index, etap)` for every stage of the file in file order, `etap` being what
// CzytajEtap(path, index, ...) loads, in one walk of the stage locator, front to back. Stage k is
// loaded from the lines after the file's (k+1)-th line holding "}", also where that line lies
// within the previous stage's lines (a "}" in a row of a file from elsewhere). At the first stage
// that does not load, its error is thrown after the stages before it have been passed on. Throws
// MissingFileMessage, NotRegularFileMessage, ConversionError, InOutError, and what `onStage`
// throws.
void forEachStage(const std::string& path,
                  const std::function<void(int index, const Etap& etap)>& onStage);

} // namespace krelwin
