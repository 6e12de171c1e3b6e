// The frame of every command of the workflow: a command runs to its end or stops at an error,
// which is told to the user; the steps before it stay done. Work that must not run in the middle
// of a command (the reading of another program's change) waits until the last command running
// has ended: commands nest while they wait on a question or on a busy file's lock.
#pragma once

#include <QObject>

#include <functional>

class UserDialogue;

class CommandRunner : public QObject {
    Q_OBJECT

public:
    explicit CommandRunner(UserDialogue& dialogue, QObject* parent = nullptr);

    // Runs `command`; true when it ran to its end.
    bool run(const std::function<void()>& command);
    bool running() const { return depth_ > 0; }

    // Runs `work` now when no command runs, else once the last one has ended (after its caller
    // has returned). Work asked for several times while waiting runs once.
    void whenIdle(const std::function<void()>& work);

private:
    UserDialogue& dialogue_;
    int depth_ = 0;
    std::function<void()> waiting_;
};
