// While a write waits for another program to let go of the stage file (at most five seconds),
// the window keeps repainting and shows the busy cursor. Keyboard and mouse input waits until
// the write is over, so that no second command can start in the middle of the first.
#pragma once

#include "file_lock.h"

class BusyWait : public krelwin::LockWaitListener {
public:
    void waiting() override;
    void waitEnded() override;

private:
    bool cursorShown_ = false;
};

// Puts the editor's BusyWait in force for every write from now on.
void installBusyWait();
