// Writes and removes the editor's recovery copy on a thread of its own, in the order asked, so
// that a paint never waits for the disk: the copy goes through the core's safe write, with its
// flushes, while the window goes on.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class RecoveryWriter : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    void write(const QString& path, const QByteArray& bytes);
    void remove(const QString& path);

signals:
    // A write failed, with the reason in the core's words; or the next one went through again.
    void failed(const QString& reason);
    void recovered();

private:
    bool failing_ = false;
};
