#include "commands.h"

#include "errors.h"
#include "stage_file.h"
#include "stage_output.h"

namespace krelwin::cli {

int runShow(const CommandLine& line, std::ostream& out) {
    const std::string& path = line.positional[0];
    const int index = parseIntegerArgument(line.positional[1], "INDEX", 0);
    Etap etap;
    const std::string name = loadStageAndName(path, index, etap);
    // The record goes where a stage file's would, so cells the editor's writes refuse are
    // refused here too.
    if (const std::string problem = cellProblem(etap); !problem.empty()) {
        throw WriteRefused(problem);
    }
    printRecord(out, name, etap);
    return ExitSuccess;
}

} // namespace krelwin::cli
