#include "CommandRunner.h"

#include "UserDialogue.h"

#include <QTimer>

#include <utility>

CommandRunner::CommandRunner(UserDialogue& dialogue, QObject* parent)
    : QObject(parent), dialogue_(dialogue) {}

bool CommandRunner::run(const std::function<void()>& command) {
    ++depth_;
    bool completed = true;
    try {
        command();
    } catch (const std::exception& error) {
        completed = false;
        dialogue_.tell(error);
    }
    --depth_;
    if (depth_ == 0 && waiting_) {
        QTimer::singleShot(0, this, [this] {
            if (std::function<void()> work = std::exchange(waiting_, nullptr)) {
                whenIdle(work);
            }
        });
    }
    return completed;
}

void CommandRunner::whenIdle(const std::function<void()>& work) {
    if (running()) {
        waiting_ = work;
        return;
    }
    work();
}
