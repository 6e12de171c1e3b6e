// The command line of one krelwin-stage command: its positional arguments and options.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace krelwin::cli {

// A command line that cannot be run as given; exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> options; // "--name" -> its value
    std::set<std::string, std::less<>> flags;                // "--grid" and the like, given
    bool help = false;

    const std::string* option(std::string_view name) const;
    bool flag(std::string_view name) const { return flags.contains(name); }
};

// "--help" or "-h" anywhere asks for help; "--" makes every later argument positional;
// "--option VALUE" and "--option=VALUE" are taken for the value options listed, "--flag" alone
// for the flags listed. Any other argument starting with "--" is an unknown option; "-1" and other
// single-dash words are positional, so that negative indices need no quoting.
CommandLine splitArguments(const std::vector<std::string>& arguments,
                           const std::vector<std::string_view>& valueOptions,
                           const std::vector<std::string_view>& flagOptions = {});

// An integer argument of at least `minimum`; `what` names it in the usage message.
int32_t parseIntegerArgument(const std::string& text, std::string_view what, int32_t minimum);

} // namespace krelwin::cli
