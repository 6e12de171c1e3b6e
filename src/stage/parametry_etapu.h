// The stage's parameters and the one table of its numeric ones. Everything that handles the
// numbers walks NumberParameters: the parameter pass, the parameter line's reader and writer,
// the file check and the stage parameters dialog. Adding or moving a numeric parameter is a
// new member with its default in ParametryEtapu and one row of the table; the columns of the
// parameter line follow from the rows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace krelwin {

struct Zakres {
    int32_t min;
    int32_t max;
    constexpr int32_t clamp(int32_t value) const {
        return value < min ? min : (value > max ? max : value);
    }
};

inline constexpr char TypZwykly = 'Z';
inline constexpr char TypBonusowy = 'B';
inline constexpr const char* DomyslneKolory =
    "00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55";

struct ParametryEtapu {
    int32_t Szer = 32;
    int32_t Wys = 20;
    int32_t IleD = 10;
    int32_t PktD = 10;
    int32_t MagMur = 10;
    int32_t RozL = 10;
    int32_t LawP = 10;
    int32_t CzasG = 100;
    char Typ = TypZwykly;
    std::string Kolory = DomyslneKolory;

    bool operator==(const ParametryEtapu&) const = default;
};

struct NumberParameter {
    const char* name; // the member's name, as the file check reports the field
    int32_t ParametryEtapu::*member;
    Zakres range; // the dialog field's limits, which every value passes on its way in
    int digits;   // written with at least this many digits; the dialog field's typing limit
};

// In the order of the parameter line, which is also the order in which the reader converts
// them (the first that fails stops the load) and the dialog's operations copy them.
inline constexpr std::array NumberParameters{
    NumberParameter{"Szer", &ParametryEtapu::Szer, {18, 80}, 2},
    NumberParameter{"Wys", &ParametryEtapu::Wys, {10, 80}, 2},
    NumberParameter{"IleD", &ParametryEtapu::IleD, {1, 999}, 3},
    NumberParameter{"PktD", &ParametryEtapu::PktD, {1, 999}, 3},
    NumberParameter{"MagMur", &ParametryEtapu::MagMur, {0, 999}, 3},
    NumberParameter{"RozL", &ParametryEtapu::RozL, {0, 999}, 3},
    NumberParameter{"LawP", &ParametryEtapu::LawP, {0, 999}, 3},
    NumberParameter{"CzasG", &ParametryEtapu::CzasG, {5, 999}, 3},
};

constexpr const NumberParameter& numberParameter(int32_t ParametryEtapu::*member) {
    for (const NumberParameter& parameter : NumberParameters) {
        if (parameter.member == member) {
            return parameter;
        }
    }
    throw "not a numeric stage parameter"; // in a constant expression: a compile error
}

inline constexpr Zakres ZakresSzer = numberParameter(&ParametryEtapu::Szer).range;
inline constexpr Zakres ZakresWys = numberParameter(&ParametryEtapu::Wys).range;

// The parameter line, columns counted from 1: each number in its digits and a ",", then the
// type letter and a ",", then the colour text and a final ",".
constexpr std::size_t firstColumnOf(std::size_t parameterIndex) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < parameterIndex; ++i) {
        column += static_cast<std::size_t>(NumberParameters[i].digits) + 1;
    }
    return column;
}
inline constexpr std::size_t TypeColumn = firstColumnOf(NumberParameters.size());
inline constexpr std::size_t ColoursColumn = TypeColumn + 2;
// The reader takes at most this many characters of colour text: the length of its usual form.
inline constexpr std::size_t ColoursWidth = 53;

// Columns first..first+width-1 of the line, as many of them as the line holds.
constexpr std::string_view lineColumns(std::string_view line, std::size_t first,
                                       std::size_t width) {
    return line.size() < first ? std::string_view{} : line.substr(first - 1, width);
}
constexpr std::string_view numberText(std::string_view line, std::size_t parameterIndex) {
    return lineColumns(line, firstColumnOf(parameterIndex),
                       static_cast<std::size_t>(NumberParameters[parameterIndex].digits));
}
constexpr std::string_view coloursText(std::string_view line) {
    return lineColumns(line, ColoursColumn, ColoursWidth);
}

// The parameter pass: what sending values through the stage parameters dialog's fields and
// back does to them. Each number goes to the nearer end of its range, any type but "Z" becomes
// "B"; the colour text is left alone.
void applyParameterPass(ParametryEtapu& parametry);

} // namespace krelwin
