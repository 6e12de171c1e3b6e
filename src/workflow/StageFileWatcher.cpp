#include "StageFileWatcher.h"

#include <QFileInfo>

StageFileWatcher::StageFileWatcher(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &StageFileWatcher::changed);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &StageFileWatcher::noticeChange);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            &StageFileWatcher::noticeChange);
}

void StageFileWatcher::watch(const QString& path) {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    settle_.stop();
    file_.clear();
    if (path.isEmpty()) {
        return;
    }
    const QFileInfo info(path);
    file_ = info.absoluteFilePath();
    watcher_.addPath(info.absolutePath());
    rewatchFile();
}

void StageFileWatcher::noticeChange() {
    rewatchFile();
    settle_.start();
}

// The watch is bound to the file the path named when it was set; after a rename over it, only
// setting it again follows the new file.
void StageFileWatcher::rewatchFile() {
    if (file_.isEmpty()) {
        return;
    }
    watcher_.removePath(file_);
    if (QFileInfo::exists(file_)) {
        watcher_.addPath(file_);
    }
}
