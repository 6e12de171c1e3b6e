// Finds what in a stage file the editor would read wrongly, lose, or refuse to write back:
// the faults a hand-edited file or another tool's output can carry.
#pragma once

#include "stage_findings.h"

#include <string>
#include <vector>

namespace krelwin {

// A problem of the whole file rather than of one stage.
inline constexpr int FileLevel = -1;

struct StageProblem {
    int index; // the stage's index as the editor numbers it, or FileLevel
    std::string text;
    Severity severity = Severity::Error; // a warning alone does not fail the check
    bool operator==(const StageProblem&) const = default;
};

// Every problem, in file order; stages by the index the editor's operations give them.
// The texts are in Polish, like the editor's own messages.
// Throws MissingFileMessage when no file is at the path, InOutError on a read failure.
std::vector<StageProblem> findStageProblems(const std::string& path);

// Whether any of the problems is an error rather than a warning.
bool anyError(const std::vector<StageProblem>& problems);

// "INDEX: text", or "plik: text" for a problem of the whole file; a warning's text begins with
// "ostrzeżenie: ".
std::string problemLine(const StageProblem& problem);

} // namespace krelwin
