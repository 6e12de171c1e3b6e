#include "TextCodec.h"

#include "cp1250.h"
#include "errors.h"

#include <QFile>

namespace krelwin {

QString fromFileBytes(const std::string& bytes) {
    return QString::fromStdU32String(decodeCp1250(bytes));
}

std::string toFileBytes(const QString& text) {
    const std::u32string characters = text.toStdU32String();
    if (std::optional<std::string> bytes = encodeCp1250(characters)) {
        return *bytes;
    }
    for (const char32_t character : characters) {
        if (!unicodeToCp1250(character)) {
            throw WriteRefused("Znaku „" + QString::fromUcs4(&character, 1).toStdString() +
                               "” nie można zapisać w pliku etapów.");
        }
    }
    throw WriteRefused("Tekstu nie można zapisać w pliku etapów.");
}

std::string filePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace krelwin

QString shownName(const QString& name, qsizetype limit) {
    if (name.size() <= limit) {
        return name;
    }
    return name.first(limit - 1) + QChar(0x2026);
}

QString shownPath(const QString& path) {
    QString shown;
    shown.reserve(path.size());
    for (const QChar character : path) {
        const char16_t code = character.unicode();
        if (code < 32 || code == 127) {
            shown += QStringLiteral("\\x%1").arg(int(code), 2, 16, QLatin1Char('0')).toUpper();
        } else {
            shown += character;
        }
    }
    return shown;
}
