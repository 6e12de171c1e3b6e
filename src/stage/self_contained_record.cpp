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

std::string rowsProblem(std::string_view content) {
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
    // Read canonically, the content holds one CR per line.
    const std::size_t lines = countEach<1>(content, {CarriageReturn})[0];
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
    if (contains(content, NameMarker)) {
        return "znak „(” w kolorach albo w planszy: edytor wziąłby ten wiersz za wiersz nazwy "
               "następnego etapu";
    }
    return rowsProblem(content);
}

} // namespace krelwin
