#include "BusyWait.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

void BusyWait::waiting() {
    if (!cursorShown_) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        cursorShown_ = true;
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BusyWait::waitEnded() {
    if (cursorShown_) {
        QGuiApplication::restoreOverrideCursor();
        cursorShown_ = false;
    }
}

void installBusyWait() {
    static BusyWait busyWait;
    krelwin::setLockWaitListener(&busyWait);
}
