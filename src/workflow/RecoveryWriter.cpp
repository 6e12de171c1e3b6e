#include "RecoveryWriter.h"

#include "TextCodec.h"
#include "file_copy.h"

#include <QFile>

#include <string_view>

void RecoveryWriter::write(const QString& path, const QByteArray& bytes) {
    try {
        krelwin::writeWholeFile(krelwin::filePath(path),
                                std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const std::exception& error) {
        failing_ = true;
        emit failed(QString::fromUtf8(error.what()));
        return;
    }
    if (std::exchange(failing_, false)) {
        emit recovered();
    }
}

void RecoveryWriter::remove(const QString& path) {
    QFile::remove(path);
}
