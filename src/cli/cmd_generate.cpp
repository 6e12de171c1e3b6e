#include "commands.h"

#include "errors.h"
#include "generator.h"
#include "integer_text.h"
#include "stage_file.h"
#include "stage_output.h"

#include <charconv>
#include <optional>

namespace krelwin::cli {

namespace {

// The shares are what the generator dialog's fields can hold.
constexpr Zakres ZakresUdzialu{0, 99};

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t found; (found = text.find(separator, start)) != std::string::npos;
         start = found + 1) {
        parts.push_back(text.substr(start, found - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Any state of the 32-bit random source, in decimal.
uint32_t parseSeed(const std::string& text) {
    uint32_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seed);
    if (text.empty() || error != std::errc{} || stop != end) {
        throw UsageError("--seed '" + text + "' is not a number from 0 to 4294967295");
    }
    return seed;
}

// "WxH"; any integers, which the parameter pass then brings into range.
void parseSize(const std::string& text, ParametryEtapu& parametry) {
    const std::vector<std::string> parts = splitAt(text, 'x');
    const std::optional<int32_t> szer = parts.size() == 2 ? parseInteger(parts[0]) : std::nullopt;
    const std::optional<int32_t> wys = parts.size() == 2 ? parseInteger(parts[1]) : std::nullopt;
    if (!szer || !wys) {
        throw UsageError("--size '" + text + "' is not WIDTHxHEIGHT");
    }
    parametry.Szer = *szer;
    parametry.Wys = *wys;
}

Udzialy parseShares(const std::string& text) {
    const std::vector<std::string> parts = splitAt(text, ',');
    Udzialy udzialy{};
    if (parts.size() != udzialy.size()) {
        throw UsageError("--shares needs 11 numbers separated by commas, not '" + text + "'");
    }
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const std::optional<int32_t> share = parseInteger(parts[k]);
        if (!share || *share != ZakresUdzialu.clamp(*share)) {
            throw UsageError("--shares: share " + std::to_string(k + 1) + " '" + parts[k] +
                             "' is not a number from 0 to 99");
        }
        udzialy[k] = *share;
    }
    return udzialy;
}

} // namespace

int runGenerate(const CommandLine& line, std::ostream& out) {
    Etap etap;
    if (const std::string* size = line.option("--size")) {
        parseSize(*size, etap.parametry);
    }
    applyParameterPass(etap.parametry);
    const std::string* shares = line.option("--shares");
    const Udzialy udzialy = shares ? parseShares(*shares) : DomyslneUdzialy;
    ZrodloLosowe zrodlo;
    if (const std::string* seed = line.option("--seed")) {
        zrodlo.Ziarno = parseSeed(*seed);
    } else {
        zrodlo.UstawZiarno();
    }
    const std::string* givenName = line.option("--name");
    const std::string name = givenName ? *givenName : DomyslnaNazwaEtapu;
    // The record goes where a stage file's would, so a name the editor's writes refuse is
    // refused here too.
    if (const std::string problem = nameProblem(name); !problem.empty()) {
        throw WriteRefused(problem);
    }

    etap.plansza.fillWithRivets();
    etap.clearInterior();
    GenerujPlansze(etap, zrodlo, udzialy);
    printRecord(out, name, etap);
    return ExitSuccess;
}

} // namespace krelwin::cli
