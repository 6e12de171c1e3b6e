#include "ToolKeys.h"

#include <QKeySequence>

namespace tools {

std::optional<QKeyCombination> toolKeyOf(char kod) {
    for (const ToolKey& row : ToolButtonKeys)
        if (row.kod == kod)
            return row.key;
    return std::nullopt;
}

QString hintWithKey(const QString& hint, QKeyCombination key) {
    return QStringLiteral("%1 (%2)").arg(hint,
                                         QKeySequence(key).toString(QKeySequence::NativeText));
}

} // namespace tools
