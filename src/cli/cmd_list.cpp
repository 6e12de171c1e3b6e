#include "commands.h"

#include "stage_file.h"

namespace krelwin::cli {

int runList(const CommandLine& line, std::ostream& out) {
    for (const std::string& name : CzytajListeEtapow(line.positional[0])) {
        out << name << '\n';
    }
    return ExitSuccess;
}

} // namespace krelwin::cli
