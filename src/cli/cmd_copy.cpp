#include "commands.h"

#include "stage_file.h"

namespace krelwin::cli {

int runCopy(const CommandLine& line, std::ostream&) {
    const std::string& source = line.positional[0];
    const int index = parseIntegerArgument(line.positional[1], "INDEX", 0);
    const std::string& destination = line.positional[2];
    // -1 appends, as the editor's "Nowy etap" does; the other negative indices the file
    // operations accept would append under the start-and-exit rule, which no editor command does.
    const int destinationIndex =
        parseIntegerArgument(line.positional[3], "DEST_INDEX", AppendIndex);
    Etap etap;
    const std::string ownName = loadStageAndName(source, index, etap);
    const std::string* name = line.option("--name");
    ZapiszEtap(destination, name ? *name : ownName, destinationIndex, etap);
    return ExitSuccess;
}

} // namespace krelwin::cli
