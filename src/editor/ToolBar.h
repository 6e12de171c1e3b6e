// The toolbar's fourteen tool buttons, ToolButton1 .. ToolButton14: each shows the tile of the
// cell kind it selects and its Polish name as a hint; the last is the empty tool, which has
// none. A button's pressed look is set by the program alone, never by the click itself.
#pragma once

#include <QWidget>

#include <array>

class QToolButton;

inline constexpr int ToolCount = 14;

struct ToolButtonRow {
    char kod;
    const char* hint; // nullptr for the empty tool
};
// The tool each button selects, ToolButton1 first; button k shows tile k - 1.
extern const std::array<ToolButtonRow, ToolCount> ToolButtonRows;

using ToolButtonArray = std::array<QToolButton*, ToolCount>;

// The toolbar ToolBar1, 39 pixels high in the button face colour, with the buttons from the
// left; `buttons` receives them.
QWidget* buildToolBar(ToolButtonArray& buttons);
