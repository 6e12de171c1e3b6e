#include "tool_process.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace krelwin::stagetest {

namespace {

// Spawns `words` (the first found through PATH) with standard input and output on /dev/null;
// standard error goes to `errFd`, or to /dev/null when it is -1.
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
    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start " + words[0]);
    }
    return pid;
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

} // namespace

ToolOutcome runTool(const std::vector<std::string>& arguments,
                    const std::vector<std::string>& prefix, const std::string& program) {
    std::vector<std::string> words = prefix;
    words.push_back(program.empty() ? KRELWIN_STAGE_PATH : program);
    words.insert(words.end(), arguments.begin(), arguments.end());
    return runGathering(words);
}

pid_t startTool(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {KRELWIN_STAGE_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return spawn(words, -1);
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

std::pair<uid_t, gid_t> unprivilegedIds() {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr) {
        return {::geteuid(), ::getegid()};
    }
    return {nobody->pw_uid, nobody->pw_gid};
}

std::string toolCopyIn(const std::string& folder) {
    namespace fs = std::filesystem;
    const fs::path copy = fs::path(folder) / "krelwin-stage";
    fs::copy_file(KRELWIN_STAGE_PATH, copy, fs::copy_options::overwrite_existing);
    const fs::perms everyoneRuns = fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec;
    fs::permissions(folder, everyoneRuns);
    fs::permissions(copy, everyoneRuns);
    return copy.string();
}

std::optional<std::vector<std::string>> unprivilegedPrefix() {
    if (::geteuid() != 0) {
        return std::vector<std::string>{};
    }
    if (::getpwnam("nobody") == nullptr) {
        return std::nullopt;
    }
    const auto [uid, gid] = unprivilegedIds();
    for (std::vector<std::string> prefix :
         {std::vector<std::string>{"setpriv", "--reuid=" + std::to_string(uid),
                                   "--regid=" + std::to_string(gid), "--clear-groups"},
          {"runuser", "-u", "nobody", "--"}}) {
        const std::vector<std::string> tried = prefix;
        prefix.push_back("true");
        try {
            if (runGathering(prefix).exitCode == 0) {
                return tried;
            }
        } catch (const std::runtime_error&) {
        }
    }
    return std::nullopt;
}

} // namespace krelwin::stagetest
