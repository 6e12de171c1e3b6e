// The help texts of krelwin-stage.
#pragma once

#include "commands.h"

#include <string>

namespace krelwin::cli {

inline constexpr const char* ProgramName = "krelwin-stage";

// "krelwin-stage --help": every command with its synopsis.
std::string programHelp();
// "krelwin-stage COMMAND --help".
std::string commandHelp(const Command& command);
// What a usage error prints after its own line: the synopsis and where to find more.
std::string usageHint(const Command* command);

} // namespace krelwin::cli
