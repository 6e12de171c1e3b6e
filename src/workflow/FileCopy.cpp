#include "FileCopy.h"

#include "TextCodec.h"
#include "errors.h"
#include "file_copy.h"

#include <QFile>
#include <QFileInfo>

void kopiujPlik(const QString& from, const QString& to) {
    if (!QFile::exists(from) || isSameFile(from, to)) {
        return;
    }
    try {
        krelwin::copyWholeFile(krelwin::filePath(from), krelwin::filePath(to));
    } catch (const krelwin::InOutError& error) {
        // The reason in the words of every other file error the editor shows.
        throw krelwin::RuntimeError(QStringLiteral("Nie można skopiować pliku do %1: %2")
                                        .arg(shownPath(to), QString::fromUtf8(error.what()))
                                        .toStdString());
    }
}

bool isSameFile(const QString& first, const QString& second) {
    const QString canonical = QFileInfo(first).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(second).canonicalFilePath();
}
