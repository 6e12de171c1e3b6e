// Runs krelwin-stage as a separate process: to completion, as an unprivileged user, or started
// and left running so that a test can kill it.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace krelwin::stagetest {

struct ToolOutcome {
    int exitCode = -1; // -1 when a signal ended it
    std::string err;
};

// Runs the tool (the built one, or `program`) with the arguments, behind the command `prefix`,
// and gathers standard error.
ToolOutcome runTool(const std::vector<std::string>& arguments,
                    const std::vector<std::string>& prefix = {}, const std::string& program = {});
// Starts the tool with its output discarded and returns at once; `waitFor` gives the raw status.
pid_t startTool(const std::vector<std::string>& arguments);
int waitFor(pid_t pid);

// A prefix that runs the tool as a user whom file permissions bind: nothing when we are not
// root, as root setpriv or runuser to "nobody"; nothing found: the caller should skip.
std::optional<std::vector<std::string>> unprivilegedPrefix();
// The user and group that prefix runs as.
std::pair<uid_t, gid_t> unprivilegedIds();
// A copy of the built tool in `folder`, opened to every user with the folder itself: that user
// may not be able to reach the build folder (a clone in a private home folder).
std::string toolCopyIn(const std::string& folder);

} // namespace krelwin::stagetest
