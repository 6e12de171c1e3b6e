#include "file_lock.h"

#include "errors.h"
#include "file_system.h"

#include <cerrno>
#include <sys/file.h>
#include <thread>

namespace krelwin {

namespace {

LockWaitListener* listenerInForce = nullptr;
std::chrono::milliseconds waitLimit = LockWaitLimit;

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
        if (std::chrono::steady_clock::now() >= deadline) {
            throw FileBusyMessage(path);
        }
        report.stillWaiting();
        std::this_thread::sleep_for(LockPollInterval);
    }
}

std::chrono::steady_clock::time_point lockDeadlineFromNow() {
    return std::chrono::steady_clock::now() + waitLimit;
}

ScopedLockWaitLimit::ScopedLockWaitLimit(std::chrono::milliseconds limit) : previous_(waitLimit) {
    waitLimit = limit;
}

ScopedLockWaitLimit::~ScopedLockWaitLimit() {
    waitLimit = previous_;
}

} // namespace krelwin
