// Runs krelwin-stage as a separate process: to completion, as an unprivileged user, or started
// and left running so that a test can kill it.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace krelwin::stagetest {

struct ToolOutcome {
    int exitCode = -1; // -1 when a signal ended it
    std::string err;
};

// Runs the tool with the arguments and waits for it; standard error is gathered.
ToolOutcome runTool(const std::vector<std::string>& arguments);

// Starts the tool with its output discarded and returns at once.
pid_t startTool(const std::vector<std::string>& arguments);
// Waits for a started tool; the raw wait status.
int waitFor(pid_t pid);

// How to run the tool as a user whom file permissions bind: nothing to add when we are not
// root; as root, a command prefix (setpriv or runuser to "nobody") when the machine has one.
// Empty optional: no way to drop root here, and the caller should skip.
std::optional<std::vector<std::string>> unprivilegedPrefix();
// The user and group id that prefix runs as.
uid_t unprivilegedUid();
gid_t unprivilegedGid();
// Runs the tool through the prefix.
ToolOutcome runToolAs(const std::vector<std::string>& prefix,
                      const std::vector<std::string>& arguments);

} // namespace krelwin::stagetest
