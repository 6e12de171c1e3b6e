// What the commands that read or make a stage share: printing a stage as the record the editor
// would write for it.
#pragma once

#include "plansza.h"

#include <ostream>
#include <string>

namespace krelwin::cli {

// The record, every line ended by CR LF, bytes as they stand.
void printRecord(std::ostream& out, const std::string& name, const Etap& etap);

} // namespace krelwin::cli
