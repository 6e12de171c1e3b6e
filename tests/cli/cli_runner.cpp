#include "cli_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krelwin::cli_test {

std::string exampleRecord(const std::string& name, std::size_t index, const std::string& line) {
    std::vector<std::string> lines = ExampleRecordLines;
    lines[0] = "(" + name + ")";
    if (index > 0)
        lines[index] = line;
    return joinLines(lines);
}

Outcome CliTest::run(const std::vector<std::string>& arguments) const {
    return runProgram(KRELWIN_STAGE_PATH, arguments);
}

Outcome CliTest::runProgram(const std::string& program,
                            const std::vector<std::string>& arguments) const {
    const std::string outPath = folder.file(".stdout");
    const std::string errPath = folder.file(".stderr");
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(folder.path().c_str()) != 0)
            ::_exit(127);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    Outcome outcome;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    outcome.out = readBytes(outPath);
    outcome.err = readBytes(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return outcome;
}

} // namespace krelwin::cli_test
