// The commands of krelwin-stage. Each takes its split command line, writes its result to
// standard output and returns the exit status; failures are thrown (see main.cpp).
#pragma once

#include "command_line.h"

#include <cstddef>
#include <ostream>
#include <string_view>
#include <vector>

namespace krelwin::cli {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

struct Command {
    std::string_view name;
    std::string_view synopsis; // the arguments after the command's name
    std::string_view summary;  // one line for the program's help
    std::string_view help;     // the text of "krelwin-stage COMMAND --help" after the synopsis
    std::vector<std::string_view> valueOptions;
    std::vector<std::string_view> flagOptions;
    std::size_t minimumPositional;
    std::size_t maximumPositional;
    int (*run)(const CommandLine& line, std::ostream& out);
    // The exit status of a failure: diff and merge answer 2, as diff(1) and git expect.
    int failureStatus = ExitFailure;
};

int runList(const CommandLine& line, std::ostream& out);
int runShow(const CommandLine& line, std::ostream& out);
int runCopy(const CommandLine& line, std::ostream& out);
int runGenerate(const CommandLine& line, std::ostream& out);
int runCheck(const CommandLine& line, std::ostream& out);
int runStats(const CommandLine& line, std::ostream& out);
int runDelete(const CommandLine& line, std::ostream& out);
int runMove(const CommandLine& line, std::ostream& out);
int runDuplicate(const CommandLine& line, std::ostream& out);
int runRename(const CommandLine& line, std::ostream& out);
int runFixLineEnds(const CommandLine& line, std::ostream& out);
int runDiff(const CommandLine& line, std::ostream& out);
int runMerge(const CommandLine& line, std::ostream& out);
// Need the editor's renderer; in a build without Qt they fail with a message.
int runRender(const CommandLine& line, std::ostream& out);
int runThumbnail(const CommandLine& line, std::ostream& out);

const std::vector<Command>& allCommands();
const Command* findCommand(std::string_view name);

} // namespace krelwin::cli
