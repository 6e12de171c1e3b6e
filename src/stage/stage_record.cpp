#include "stage_record.h"

#include "errors.h"
#include "integer_text.h"

#include <algorithm>
#include <cstdio>

namespace krelwin {

namespace {

// A number field of the parameter line: columns first..first+width-1, counted from 1.
struct NumberField {
    int first;
    int width;
    int32_t ParametryEtapu::*value;
};

// In the order the reader takes them: a field that fails stops the reading there.
constexpr NumberField NumberFields[] = {
    {1, 2, &ParametryEtapu::Szer},    {4, 2, &ParametryEtapu::Wys},
    {7, 3, &ParametryEtapu::IleD},    {11, 3, &ParametryEtapu::PktD},
    {15, 3, &ParametryEtapu::MagMur}, {19, 3, &ParametryEtapu::RozL},
    {23, 3, &ParametryEtapu::LawP},   {27, 3, &ParametryEtapu::CzasG},
};
constexpr std::size_t TypeColumn = 31;
constexpr std::size_t ColoursColumn = 33;
constexpr std::size_t ColoursWidth = 53;

// Columns first..first+width-1 of the line, as many of them as the line holds.
std::string_view columns(std::string_view line, std::size_t first, std::size_t width) {
    if (line.size() < first) {
        return {};
    }
    return line.substr(first - 1, width);
}

// The walk over the stored cells never leaves the array, whatever size it is given.
int storedExtent(int32_t size) {
    return std::clamp<int32_t>(size, 0, MaxWymiar);
}

} // namespace

std::string nameLine(std::string_view name) {
    std::string line;
    line.reserve(name.size() + 2);
    line += '(';
    line += name;
    line += ')';
    return line;
}

std::string nameFromNameLine(std::string_view line) {
    if (line.size() <= 2) {
        return {};
    }
    return std::string(line.substr(1, line.size() - 2));
}

std::string formatParameterLine(const ParametryEtapu& p) {
    char numbers[128];
    const int length =
        std::snprintf(numbers, sizeof numbers, "%02d,%02d,%03d,%03d,%03d,%03d,%03d,%03d,%c,",
                      p.Szer, p.Wys, p.IleD, p.PktD, p.MagMur, p.RozL, p.LawP, p.CzasG, p.Typ);
    std::string line(numbers, static_cast<std::size_t>(length));
    line += p.Kolory;
    line += ',';
    return line;
}

ParametryEtapu parseParameterLine(std::string_view line) {
    ParametryEtapu parametry;
    for (const NumberField& field : NumberFields) {
        const std::string_view text = columns(line, field.first, field.width);
        const std::optional<int32_t> value = parseInteger(text);
        if (!value) {
            throw ConversionError(std::string(text));
        }
        parametry.*field.value = *value;
    }
    parametry.Typ = line.size() >= TypeColumn ? line[TypeColumn - 1] : TypBonusowy;
    parametry.Kolory = std::string(columns(line, ColoursColumn, ColoursWidth));
    return parametry;
}

void readCellRow(std::string_view line, int row, int32_t szer, Plansza& plansza) {
    const int lastColumn = std::min<int>(storedExtent(szer), static_cast<int>(line.size()));
    for (int column = 1; column <= lastColumn; ++column) {
        plansza.at(column, row) = line[column - 1];
    }
}

void appendRecord(std::string& out, std::string_view name, const Etap& etap) {
    const int szer = storedExtent(etap.parametry.Szer);
    const int wys = storedExtent(etap.parametry.Wys);
    out += nameLine(name);
    out += LineEnd;
    out += RecordMarker;
    out += LineEnd;
    out += formatParameterLine(etap.parametry);
    out += LineEnd;
    out += '{';
    out += LineEnd;
    for (int row = 1; row <= wys; ++row) {
        for (int column = 1; column <= szer; ++column) {
            out += etap.plansza.at(column, row);
        }
        out += LineEnd;
    }
}

} // namespace krelwin
