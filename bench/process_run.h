// Running a program to its end from a benchmark, its output thrown away, and remembering a
// failure, so that the benchmark's exit status says a command failed (its smoke test fails).
#pragma once

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace benchsupport {

inline bool anyFailed = false;

inline void reportFailure(benchmark::State& state, const std::string& what) {
    anyFailed = true;
    state.SkipWithError(what.c_str());
}

// Looked up on PATH like a shell does; false unless it started and exited with `status`.
inline bool runToEnd(const std::vector<std::string>& command, int status = 0) {
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int result = 0;
    return failed == 0 && waitpid(child, &result, 0) == child && WIFEXITED(result) &&
           WEXITSTATUS(result) == status;
}

} // namespace benchsupport
