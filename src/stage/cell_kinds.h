// The kinds of cell as the toolbar lists them, with the names its hints give them: what counts,
// `krelwin-stage stats` and the stage's findings call a code by. The empty cell and codes
// outside the alphabet, which have no hint, get names of their own.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace krelwin {

struct CellKind {
    const char* name;      // Polish
    std::string_view kody; // its codes; a creature's in the order left, right, up, down
};

// In the toolbar's order, the empty cell last.
inline constexpr std::array<CellKind, 14> CellKinds{{
    {"Pozycja startowa", "S"},
    {"Diament", "*"},
    {"Ziemia", "+"},
    {"Kamień", "o"},
    {"Nit", "#"},
    {"Motyl", "<>^v"},
    {"Potwór", "/-|\\"},
    {"Mur", "="},
    {"Diamentowy mur", "\""},
    {"Mur rozszerzalny", "%"},
    {"Lawa rosnąca", "&"},
    {"Lawa przepuszczająca", "~"},
    {"Wyjście", "W"},
    {"Puste pole", "."},
}};
// The name of every byte that is no code of the alphabet: a file from elsewhere can bring one,
// the editor keeps it and shows it as an empty square.
inline constexpr const char* UnknownKindName = "Nieznane pole";
inline constexpr int UnknownKind = -1;

// Each byte's kind: its index in CellKinds, or UnknownKind. Looked up for every cell of a
// stage, so a table rather than a search.
inline constexpr std::array<signed char, 256> KindOfByte = [] {
    std::array<signed char, 256> table{};
    table.fill(UnknownKind);
    for (std::size_t kind = 0; kind < CellKinds.size(); ++kind) {
        for (const char code : CellKinds[kind].kody) {
            table[static_cast<unsigned char>(code)] = static_cast<signed char>(kind);
        }
    }
    return table;
}();

// The index of the code's kind in CellKinds, or UnknownKind.
inline int kindOf(char code) {
    return KindOfByte[static_cast<unsigned char>(code)];
}
inline bool isKnownCode(char code) {
    return kindOf(code) != UnknownKind;
}
const char* kindNameOf(char code);

// All 256 byte values in the order in which counts list them: the codes of each kind in
// CellKinds order, then every other byte by its value.
const std::array<char, 256>& codesInListingOrder();

// A code as listings and messages show it: a printable ASCII character other than the blank
// stands as it is, every other byte as \xNN (two upper-case hex digits), so that a control
// byte, a blank or a byte of a code page never hides in a line of text.
std::string shownCode(char code);

} // namespace krelwin
