#include "program.h"

#include "commands.h"
#include "errors.h"
#include "krelwin_version.h"
#include "leftover_backups.h"
#include "usage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <set>

namespace krelwin::cli {
namespace {

bool isHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

int runCommand(const Command& command, const std::vector<std::string>& arguments) {
    const CommandLine line = splitArguments(arguments, command.valueOptions, command.flagOptions);
    if (line.help) {
        std::cout << commandHelp(command);
        return ExitSuccess;
    }
    const std::size_t count = line.positional.size();
    if (count < command.minimumPositional || count > command.maximumPositional) {
        throw UsageError(count < command.minimumPositional ? "too few arguments"
                                                           : "too many arguments");
    }
    return command.run(line, std::cout);
}

// The editor separates the two lines of a message with a CR alone, which a terminal would
// print over each other.
std::string onTerminalLines(std::string text) {
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

// Says on standard error, once for each, where the backups that interrupted writes into the
// command's files left are.
class LeftoverBackupReport : public LeftoverBackupListener {
public:
    void leftoverBackupFound(const std::string& path, const std::string& backup) override {
        if (told_.insert(backup).second) {
            std::cerr << LeftoverBackupMessage(path, backup).what() << "\n";
        }
    }

private:
    std::set<std::string> told_;
};

void flushStandardOutput() {
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        throw InOutError::fromErrno(errno != 0 ? errno : EIO);
    }
}

} // namespace

int runProgram(const std::vector<std::string>& arguments) {
    const Command* command = nullptr;
    LeftoverBackupReport report;
    const ScopedLeftoverBackupListener told(report);
    try {
        if (arguments.empty()) {
            throw UsageError("no command given");
        }
        if (isHelp(arguments[0])) {
            std::cout << programHelp();
            flushStandardOutput();
            return ExitSuccess;
        }
        if (arguments[0] == "--version") {
            std::cout << ProgramName << " " << Version << "\n";
            flushStandardOutput();
            return ExitSuccess;
        }
        command = findCommand(arguments[0]);
        if (command == nullptr) {
            throw UsageError("unknown command '" + shownText(arguments[0]) + "'");
        }
        const int status =
            runCommand(*command, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
        flushStandardOutput();
        return status;
    } catch (const UsageError& error) {
        std::cerr << ProgramName << ": " << error.what() << "\n" << usageHint(command);
        return ExitUsage;
    } catch (const PlainMessage& message) {
        std::cerr << onTerminalLines(message.what()) << "\n";
    } catch (const RuntimeError& error) {
        std::cerr << errorBoxText(error.what()) << "\n";
    } catch (const std::exception& error) {
        std::cerr << ProgramName << ": " << error.what() << "\n";
    }
    return command != nullptr ? command->failureStatus : ExitFailure;
}

} // namespace krelwin::cli
