// The cell alphabet: one byte per cell, fourteen kinds the editor knows.
#pragma once

namespace krelwin {

namespace kod {
inline constexpr char Start = 'S';
inline constexpr char Diament = '*';
inline constexpr char Ziemia = '+';
inline constexpr char Kamien = 'o';
inline constexpr char Nit = '#';
inline constexpr char MotylLewo = '<';
inline constexpr char MotylPrawo = '>';
inline constexpr char MotylGora = '^';
inline constexpr char MotylDol = 'v';
inline constexpr char PotworLewo = '/';
inline constexpr char PotworPrawo = '-';
inline constexpr char PotworGora = '|';
inline constexpr char PotworDol = '\\';
inline constexpr char Mur = '=';
inline constexpr char DiamentowyMur = '"';
inline constexpr char MurRozszerzalny = '%';
inline constexpr char LawaRosnaca = '&';
inline constexpr char LawaPrzepuszczajaca = '~';
inline constexpr char Wyjscie = 'W';
inline constexpr char Pusty = '.';
// Never a cell: marks a clipboard position that holds no cell.
inline constexpr char BrakKomorki = 'x';
} // namespace kod

// Which side of its cell a creature faces; the direction mark is drawn on that side.
enum class Strona { Brak, Lewo, Gora, Prawo, Dol };

bool isButterfly(char code);
bool isMonster(char code);
// The creature test: butterflies and monsters are the only kinds with a direction.
bool isCreature(char code);
// The next code of the creature's turning cycle; any other code comes back unchanged.
// Monsters: / -> | -> - -> \ -> /.  Butterflies: > -> ^ -> < -> v -> >.
char turnCreature(char code);
Strona facingOf(char code);

// Index of the code's tile in the 28x28 tile list, or -1 for codes drawn as a plain square.
int tileImageOf(char code);
inline constexpr int TileCount = 14; // image 13 is the empty tool's button only

} // namespace krelwin
