#include "stage_record.h"

#include "errors.h"
#include "integer_text.h"

#include <algorithm>
#include <cstdio>

namespace krelwin {

namespace {

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
    std::string line;
    for (const NumberParameter& parameter : NumberParameters) {
        char number[16];
        const int length =
            std::snprintf(number, sizeof number, "%0*d,", parameter.digits, p.*parameter.member);
        line.append(number, static_cast<std::size_t>(length));
    }
    line += p.Typ;
    line += ',';
    line += p.Kolory;
    line += ',';
    return line;
}

ParametryEtapu parseParameterLine(std::string_view line) {
    ParametryEtapu parametry;
    for (std::size_t i = 0; i < NumberParameters.size(); ++i) {
        const std::string_view text = numberText(line, i);
        const std::optional<int32_t> value = parseInteger(text);
        if (!value) {
            throw ConversionError(std::string(text));
        }
        parametry.*NumberParameters[i].member = *value;
    }
    parametry.Typ = line.size() >= TypeColumn ? line[TypeColumn - 1] : TypBonusowy;
    parametry.Kolory = std::string(coloursText(line));
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
