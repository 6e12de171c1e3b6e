#include "ChangeCount.h"

#include <cstdlib>

namespace tools {

QString polishCountForm(int count, const QString& one, const QString& few, const QString& many) {
    const int units = std::abs(count) % 10;
    const int tens = std::abs(count) % 100 / 10;
    if (count == 1)
        return one;
    if (units >= 2 && units <= 4 && tens != 1)
        return few;
    return many;
}

QString changedCellsText(int count) {
    return QStringLiteral("Zmieniono %1 %2")
        .arg(count)
        .arg(polishCountForm(count, QStringLiteral("pole"), QStringLiteral("pola"),
                             QString::fromUtf8("pól")));
}

} // namespace tools
