#include "ToolKeys.h"

#include "cell_kinds.h"

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

QString toolButtonHint(std::size_t index) {
    return hintWithKey(QString::fromUtf8(krelwin::CellKinds.at(index).name),
                       ToolButtonKeys.at(index).key);
}

} // namespace tools
