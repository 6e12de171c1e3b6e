// The commands that rearrange a pack or rename a stage in it; they print nothing.
#include "commands.h"

#include "stage_file.h"

namespace krelwin::cli {

int runDelete(const CommandLine& line, std::ostream&) {
    deleteStage(line.positional[0], parseIntegerArgument(line.positional[1], "INDEX", 0));
    return ExitSuccess;
}

int runMove(const CommandLine& line, std::ostream&) {
    const int from = parseIntegerArgument(line.positional[1], "FROM", 0);
    const int to = parseIntegerArgument(line.positional[2], "TO", 0);
    moveStage(line.positional[0], from, to);
    return ExitSuccess;
}

int runDuplicate(const CommandLine& line, std::ostream&) {
    const int index = parseIntegerArgument(line.positional[1], "INDEX", 0);
    const std::string* name = line.option("--name");
    duplicateStage(line.positional[0], index,
                   name ? std::optional<std::string>(*name) : std::nullopt);
    return ExitSuccess;
}

int runRename(const CommandLine& line, std::ostream&) {
    const int index = parseIntegerArgument(line.positional[1], "INDEX", 0);
    ZmienNazweEtapu(line.positional[0], index, line.positional[2]);
    return ExitSuccess;
}

int runFixLineEnds(const CommandLine& line, std::ostream&) {
    fixLineEnds(line.positional[0]);
    return ExitSuccess;
}

} // namespace krelwin::cli
