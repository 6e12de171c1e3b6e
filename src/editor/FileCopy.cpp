#include "FileCopy.h"

#include "FileDialogs.h"
#include "errors.h"

#include <QFile>
#include <QSaveFile>

namespace {

[[noreturn]] void failCopy(const QString& to, const QString& reason) {
    throw krelwin::RuntimeError(
        QStringLiteral("Nie można skopiować pliku do %1: %2").arg(to, reason).toStdString());
}

} // namespace

void kopiujPlik(const QString& from, const QString& to) {
    if (!QFile::exists(from) || isSameFile(from, to)) {
        return;
    }
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        failCopy(to, source.errorString());
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        failCopy(to, source.errorString());
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() ||
        !target.commit()) {
        failCopy(to, target.errorString());
    }
}
