#include "commands.h"

#include "stage_check.h"

namespace krelwin::cli {

int runCheck(const CommandLine& line, std::ostream& out) {
    const std::vector<StageProblem> problems = findStageProblems(line.positional[0]);
    for (const StageProblem& problem : problems) {
        out << problemLine(problem) << '\n';
    }
    return anyError(problems) ? ExitFailure : ExitSuccess;
}

} // namespace krelwin::cli
