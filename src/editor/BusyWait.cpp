#include "BusyWait.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QThread>

// A write on another thread (the recovery copy's) waits without the window's help.
void BusyWait::waiting() {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        return;
    }
    if (!cursorShown_) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        cursorShown_ = true;
    }
    // Paints and the window system's other events go on; no key or click can start a second
    // command, and no file watcher's news is read in the middle of this write (it comes after).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers);
}

void BusyWait::waitEnded() {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        return;
    }
    if (cursorShown_) {
        QGuiApplication::restoreOverrideCursor();
        cursorShown_ = false;
    }
}

void installBusyWait() {
    static BusyWait busyWait;
    krelwin::setLockWaitListener(&busyWait);
}
