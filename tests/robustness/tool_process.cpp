#include "tool_process.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace krelwin::stagetest {

namespace {

constexpr const char* Unprivileged = "nobody";

std::vector<char*> argumentVector(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

// Spawns `words` (the first found through PATH); `errFd` receives standard error, or -1 for
// /dev/null. Standard input and output always go to /dev/null.
pid_t spawn(const std::vector<std::string>& words, int errFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (errFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    std::vector<char*> argv = argumentVector(words);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start " + words[0]);
    }
    return pid;
}

std::vector<std::string> toolCommand(const std::vector<std::string>& prefix,
                                     const std::vector<std::string>& arguments) {
    std::vector<std::string> words = prefix;
    words.push_back(KRELWIN_STAGE_PATH);
    words.insert(words.end(), arguments.begin(), arguments.end());
    return words;
}

ToolOutcome runGathering(const std::vector<std::string>& words) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe");
    }
    const pid_t pid = spawn(words, pipeFds[1]);
    ::close(pipeFds[1]);
    ToolOutcome outcome;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0) {
            outcome.err.append(buffer, static_cast<std::size_t>(got));
        } else if (errno != EINTR) {
            break;
        }
    }
    ::close(pipeFds[0]);
    const int status = waitFor(pid);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

bool works(const std::vector<std::string>& prefix) {
    std::vector<std::string> words = prefix;
    words.push_back("true");
    try {
        return runGathering(words).exitCode == 0;
    } catch (const std::runtime_error&) {
        return false;
    }
}

} // namespace

ToolOutcome runTool(const std::vector<std::string>& arguments) {
    return runGathering(toolCommand({}, arguments));
}

ToolOutcome runToolAs(const std::vector<std::string>& prefix,
                      const std::vector<std::string>& arguments) {
    return runGathering(toolCommand(prefix, arguments));
}

pid_t startTool(const std::vector<std::string>& arguments) {
    return spawn(toolCommand({}, arguments), -1);
}

int waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("waitpid");
        }
    }
    return status;
}

std::optional<std::vector<std::string>> unprivilegedPrefix() {
    if (::geteuid() != 0) {
        return std::vector<std::string>{};
    }
    if (::getpwnam(Unprivileged) == nullptr) {
        return std::nullopt;
    }
    const std::vector<std::vector<std::string>> candidates = {
        {"setpriv", "--reuid=" + std::to_string(unprivilegedUid()),
         "--regid=" + std::to_string(unprivilegedGid()), "--clear-groups"},
        {"runuser", "-u", Unprivileged, "--"},
    };
    for (const auto& prefix : candidates) {
        if (works(prefix)) {
            return prefix;
        }
    }
    return std::nullopt;
}

uid_t unprivilegedUid() {
    if (::geteuid() != 0) {
        return ::geteuid();
    }
    const passwd* user = ::getpwnam(Unprivileged);
    return user != nullptr ? user->pw_uid : 65534;
}

gid_t unprivilegedGid() {
    if (::geteuid() != 0) {
        return ::getegid();
    }
    const passwd* user = ::getpwnam(Unprivileged);
    return user != nullptr ? user->pw_gid : 65534;
}

} // namespace krelwin::stagetest
