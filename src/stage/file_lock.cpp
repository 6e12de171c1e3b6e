#include "file_lock.h"

#include "errors.h"
#include "file_system.h"

#include <cerrno>
#include <sys/file.h>

namespace krelwin {

namespace {

LockWaitListener* listenerInForce = nullptr;

// Tells the listener that the wait is over on every way out of it, the throwing ones included.
class WaitReport {
public:
    ~WaitReport() {
        if (told_ != nullptr) {
            told_->waitEnded();
        }
    }
    void stillWaiting() {
        if (told_ == nullptr) {
            told_ = listenerInForce;
        }
        if (told_ != nullptr) {
            told_->waiting();
        }
    }

private:
    LockWaitListener* told_ = nullptr;
};

// True once the lock is ours, false while another holds it.
bool tryLock(int fd) {
    for (;;) {
        if (fileSystem().flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno == EWOULDBLOCK) {
            return false;
        }
        if (errno != EINTR) {
            throw InOutError::fromErrno(errno);
        }
    }
}

} // namespace

LockWaitListener* setLockWaitListener(LockWaitListener* listener) {
    LockWaitListener* previous = listenerInForce;
    listenerInForce = listener;
    return previous;
}

void lockExclusivelyBefore(int fd, const std::string& path,
                           std::chrono::steady_clock::time_point deadline) {
    WaitReport report;
    while (!tryLock(fd)) {
        if (fileSystem().now() >= deadline) {
            throw FileBusyMessage(path);
        }
        report.stillWaiting();
        fileSystem().pause(LockPollInterval);
    }
}

std::chrono::steady_clock::time_point lockDeadlineFromNow() {
    return fileSystem().now() + LockWaitLimit;
}

} // namespace krelwin
