// The picker: a middle click on a cell makes its code the current tool, the exact code, so a
// turned butterfly or monster keeps its direction when painted.
#pragma once

#include <optional>

namespace tools {

// The tool a middle click on a cell holding `code` gives: the code itself when it is one of the
// fourteen kinds in any direction; nothing for a byte outside the alphabet, which no button
// could paint.
std::optional<char> pickedTool(char code);

// The code of the toolbar button shown pressed for the tool: a butterfly or monster facing any
// way shows its kind's button (">" or "/"); every other code is its own button's.
char toolbarCodeOf(char narzedzie);

} // namespace tools
