#include "usage.h"

namespace krelwin::cli {

namespace {

constexpr std::size_t SummaryColumn = 20;

// "  list FILE         summary", the summary on a line of its own after a long synopsis.
std::string commandOverview(const Command& command) {
    std::string text = "  " + std::string(command.name) + " " + std::string(command.synopsis);
    text += text.size() < SummaryColumn ? std::string(SummaryColumn - text.size(), ' ')
                                        : "\n" + std::string(SummaryColumn, ' ');
    return text + std::string(command.summary) + "\n";
}

std::string synopsisLine(const Command& command) {
    return std::string(ProgramName) + " " + std::string(command.name) +
           (command.synopsis.empty() ? "" : " ") + std::string(command.synopsis) + "\n";
}

} // namespace

std::string programHelp() {
    std::string text = "Usage: " + std::string(ProgramName) +
                       " COMMAND [ARGUMENTS]\n"
                       "Reads, checks and writes Krelwin stage files (.map) as Krelwin "
                       "Konstruktor does.\n\nCommands:\n";
    for (const Command& command : allCommands()) {
        text += commandOverview(command);
    }
    text += "\nFILE, SRC, DEST, OLD, NEW, BASE, OURS and THEIRS are stage files; stages are\n"
            "numbered from 0 in file order, in arguments and in messages.\n"
            "Messages go to standard error in the editor's words.\n"
            "Exit status: 0 success; 1 failure, refused write, or problems found by check\n"
            "(not its warnings); 2 usage error. diff: 0 same stages, 1 they differ, 2 error;\n"
            "merge: 0 merged, 1 merged with conflicts, 2 error.\n"
            "For git, in .gitattributes '*.map diff=krelwin merge=krelwin', and:\n"
            "  git config diff.krelwin.command \"krelwin-stage diff\"\n"
            "  git config merge.krelwin.driver \"krelwin-stage merge %O %A %B %P\"\n"
            "Run '" +
            std::string(ProgramName) + " COMMAND --help' for one command, '" +
            std::string(ProgramName) + " --version' for the version.\n";
    return text;
}

std::string commandHelp(const Command& command) {
    return "Usage: " + synopsisLine(command) + "\n" + std::string(command.help);
}

std::string usageHint(const Command* command) {
    if (command == nullptr) {
        return "Run '" + std::string(ProgramName) + " --help' for the commands.\n";
    }
    return "Usage: " + synopsisLine(*command) + "Run '" + std::string(ProgramName) + " " +
           std::string(command->name) + " --help' for more.\n";
}

} // namespace krelwin::cli
