#include "command_line.h"

#include "errors.h"
#include "integer_text.h"

#include <algorithm>
#include <optional>

namespace krelwin::cli {

const std::string* CommandLine::option(std::string_view name) const {
    const auto found = options.find(name);
    return found == options.end() ? nullptr : &found->second;
}

namespace {

bool isHelp(std::string_view argument) {
    return argument == "--help" || argument == "-h";
}

bool startsWithDoubleDash(std::string_view argument) {
    return argument.size() > 2 && argument.substr(0, 2) == "--";
}

} // namespace

CommandLine splitArguments(const std::vector<std::string>& arguments,
                           const std::vector<std::string_view>& valueOptions,
                           const std::vector<std::string_view>& flagOptions) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded) {
            line.positional.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (isHelp(argument)) {
            line.help = true;
        } else if (startsWithDoubleDash(argument)) {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            if (equals == std::string::npos &&
                std::find(flagOptions.begin(), flagOptions.end(), name) != flagOptions.end()) {
                if (!line.flags.insert(name).second) {
                    throw UsageError("option " + shownText(name) + " given twice");
                }
                continue;
            }
            if (std::find(valueOptions.begin(), valueOptions.end(), name) == valueOptions.end()) {
                throw UsageError("unknown option " + shownText(name));
            }
            if (line.options.contains(name)) {
                throw UsageError("option " + shownText(name) + " given twice");
            }
            if (equals != std::string::npos) {
                line.options[name] = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                line.options[name] = arguments[++i];
            } else {
                throw UsageError("option " + shownText(name) + " needs a value");
            }
        } else {
            line.positional.push_back(argument);
        }
    }
    return line;
}

int32_t parseIntegerArgument(const std::string& text, std::string_view what, int32_t minimum) {
    const std::optional<int32_t> value = parseInteger(text);
    if (!value) {
        throw UsageError(std::string(what) + " '" + shownText(text) + "' is not an integer");
    }
    if (*value < minimum) {
        throw UsageError(std::string(what) + " must be " + std::to_string(minimum) +
                         " or more, not " + shownText(text));
    }
    return *value;
}

} // namespace krelwin::cli
