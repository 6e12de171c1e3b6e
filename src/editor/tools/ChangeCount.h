// The status line's word after a fill: how many cells changed, in Polish, whose noun takes one
// of three forms by the number: "Zmieniono 1 pole", "Zmieniono 3 pola", "Zmieniono 5 pól",
// "Zmieniono 22 pola".
#pragma once

#include <QString>

namespace tools {

// The form of a noun after `count`: `one` for 1; `few` when the last digit is 2, 3 or 4 and the
// last two are not 12, 13 or 14; `many` otherwise (0, 5 to 21, 25, ...).
QString polishCountForm(int count, const QString& one, const QString& few, const QString& many);

QString changedCellsText(int count);

} // namespace tools
