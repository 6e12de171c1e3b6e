// The stage file's advisory lock, waited for within a bound. A writer that another program keeps
// waiting (a second editor, krelwin-stage, "flock -x pack.map sleep 25", a suspended process)
// gives up after five seconds with a message instead of hanging, and a window can keep itself
// alive meanwhile through a listener, which keeps this core free of any toolkit.
#pragma once

#include <chrono>
#include <string>

namespace krelwin {

// Told on the waiting thread while a write waits for a lock that another program holds.
class LockWaitListener {
public:
    virtual ~LockWaitListener() = default;
    // Between two attempts, about every LockPollInterval, from the first failed attempt on.
    virtual void waiting() = 0;
    // Once after the last waiting() of a wait, whether the lock came or the wait gave up.
    virtual void waitEnded() = 0;
};

inline constexpr std::chrono::milliseconds LockWaitLimit{5000};
inline constexpr std::chrono::milliseconds LockPollInterval{25};

// Puts `listener` in force for every later wait (nullptr: none) and returns the one it replaces.
LockWaitListener* setLockWaitListener(LockWaitListener* listener);

// Takes the exclusive lock on the open file, trying until `deadline`. Throws FileBusyMessage for
// `path` when the deadline passes with the lock still held elsewhere, InOutError when the
// attempt itself fails.
void lockExclusivelyBefore(int fd, const std::string& path,
                           std::chrono::steady_clock::time_point deadline);

// The deadline of a wait that starts now, LockWaitLimit away. The wait is timed by the clock of
// the file-system layer (file_system.h).
std::chrono::steady_clock::time_point lockDeadlineFromNow();

} // namespace krelwin
