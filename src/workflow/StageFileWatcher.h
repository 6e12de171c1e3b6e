// Watches the current stage file for changes made by other programs. A safe write, the
// editor's own or another's, puts a new file in place of the old one by a rename, which a watch
// on the file alone misses, so the file's folder is watched too, and the watch on the file is
// set again after every change to follow the file now at the path. Bursts of changes (a write
// is a create, a write and a rename) are reported once, a moment after they end.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class StageFileWatcher : public QObject {
    Q_OBJECT

public:
    // How long after the last change of a burst `changed` is emitted.
    static constexpr int SettleMilliseconds = 200;

    explicit StageFileWatcher(QObject* parent = nullptr);

    // Watches the file at `path` (relative to the working directory) and its folder; an empty
    // path watches nothing.
    void watch(const QString& path);

signals:
    // The file at the path may have changed, appeared or gone.
    void changed();

private:
    void noticeChange();
    void rewatchFile();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString file_;
};
