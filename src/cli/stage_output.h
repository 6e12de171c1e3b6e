// What the commands that read or make a stage share: finding a stage's own name in its file and
// printing a stage as the record the editor would write for it.
#pragma once

#include "plansza.h"

#include <ostream>
#include <string>

namespace krelwin::cli {

// The name on the name line of the stage at `index`: the line before the stage's "}" line
// (the index+1-th line holding "}"), without its first and last characters. Unlike the
// editor's stage list, this reaches stages past the hundredth. Empty when no such stage.
std::string ownStageName(const std::string& path, int index);

// The record, every line ended by CR LF, bytes as they stand.
void printRecord(std::ostream& out, const std::string& name, const Etap& etap);

} // namespace krelwin::cli
