#include "self_contained_record.h"

#include "byte_scan.h"
#include "errors.h"
#include "integer_text.h"
#include "line_splitter.h"
#include "parametry_etapu.h"
#include "plansza.h"
#include "stage_record.h"

#include <algorithm>
#include <optional>

namespace krelwin {

namespace {

constexpr std::string_view BraceLine = "}\r\n";
constexpr std::size_t HeightParameter = 1;
constexpr std::size_t LinesBeforeRows = 3; // "}", the parameter line, "{"

// `lines`: how many lines the content holds (read canonically, one CR each).
std::string rowsProblem(std::string_view content, std::size_t lines) {
    const std::size_t parametersStart = BraceLine.size();
    const std::size_t parametersEnd = content.find(CarriageReturn, parametersStart);
    if (parametersEnd == std::string_view::npos) {
        return "brak wiersza parametrów";
    }
    const std::string_view parameters =
        content.substr(parametersStart, parametersEnd - parametersStart);
    const std::string_view heightText = numberText(parameters, HeightParameter);
    const std::optional<int32_t> height = parseInteger(heightText);
    if (!height) {
        return "Wys: „" + shownText(heightText) +
               "” nie jest liczbą całkowitą, więc nie wiadomo, gdzie kończy się plansza";
    }
    const auto rows = static_cast<std::size_t>(std::clamp<int32_t>(*height, 0, MaxWymiar));
    if (lines < LinesBeforeRows + rows) {
        const std::size_t present = lines > LinesBeforeRows ? lines - LinesBeforeRows : 0;
        return "brakuje wierszy planszy: jest " + std::to_string(present) + " z " +
               std::to_string(rows) + ", więc gra doczytałaby je z następnego etapu";
    }
    return {};
}

} // namespace

std::string selfContainedProblem(const RecordPlace& place, std::string_view nameLine,
                                 std::string_view content) {
    if (!place.hasNameLine()) {
        return "brak wiersza nazwy przed „}”";
    }
    if (nameLine.size() < 2 || nameLine.front() != NameMarker || nameLine.back() != ')') {
        return "wiersz nazwy nie ma postaci (nazwa)";
    }
    if (!content.starts_with(BraceLine)) {
        return "wiersz liczony jako „}” etapu nie jest samym „}” (znak „}” w nazwie, kolorach "
               "albo planszy)";
    }
    // One pass over the content for both.
    const auto [lines, openings] = countEach<2>(content, {CarriageReturn, NameMarker});
    if (openings > 0) {
        return "znak „(” w kolorach albo w planszy: edytor wziąłby ten wiersz za wiersz nazwy "
               "następnego etapu";
    }
    return rowsProblem(content, lines);
}

} // namespace krelwin
