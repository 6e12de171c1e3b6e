#include "FileCopy.h"

#include "FileDialogs.h"
#include "errors.h"
#include "file_copy.h"

#include <QFile>

void kopiujPlik(const QString& from, const QString& to) {
    if (!QFile::exists(from) || isSameFile(from, to)) {
        return;
    }
    try {
        krelwin::copyWholeFile(QFile::encodeName(from).toStdString(),
                               QFile::encodeName(to).toStdString());
    } catch (const krelwin::InOutError& error) {
        // The reason in the words of every other file error the editor shows.
        throw krelwin::RuntimeError(QStringLiteral("Nie można skopiować pliku do %1: %2")
                                        .arg(to, QString::fromUtf8(error.what()))
                                        .toStdString());
    }
}
