// The toolbar's fourteen tool buttons, ToolButton1 .. ToolButton14: each shows the tile of the
// cell kind it selects and, as its hint, the kind's Polish name with the button's key
// ("Diament (D)"); the last is the empty tool, "Puste pole (G)". A button's pressed look is set
// by the program alone, never by the click itself.
#pragma once

#include <QWidget>

#include <array>

class QToolButton;

inline constexpr int ToolCount = 14;

// The tool button `index` selects (0 for ToolButton1, which shows tile 0).
char toolButtonCode(std::size_t index);

using ToolButtonArray = std::array<QToolButton*, ToolCount>;

// The toolbar ToolBar1, 39 pixels high in the button face colour, with the buttons from the
// left; `buttons` receives them.
QWidget* buildToolBar(ToolButtonArray& buttons);

// Shows pressed the one button of the tool `narzedzie`: a butterfly or monster facing any way
// shows its kind's button.
void showPressedTool(const ToolButtonArray& buttons, char narzedzie);
