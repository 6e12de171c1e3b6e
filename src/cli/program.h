// krelwin-stage: the stage file operations of Krelwin Konstruktor from the command line.
#pragma once

#include <string>
#include <vector>

namespace krelwin::cli {

// Runs the command line given after the program's name: prints the result to standard output,
// messages to standard error, and returns the exit status.
int runProgram(const std::vector<std::string>& arguments);

} // namespace krelwin::cli
