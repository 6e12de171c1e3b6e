// The user of the workflow's tests: questions answered from a script, messages and remarks
// written down.
#pragma once

#include "UserDialogue.h"

#include <QStringList>

#include <deque>
#include <functional>

class ScriptedDialogue : public UserDialogue {
public:
    std::deque<bool> answers;          // for the next questions, "Tak" = true, in order
    std::function<void()> whileAsking; // what happens meanwhile, before the answer
    QStringList questions;
    QStringList messages;
    QStringList notes;
    int unanswered = 0; // questions the script had no answer for (answered "Nie")

    bool ask(const QString& question, Preset) override {
        questions << question;
        if (whileAsking)
            whileAsking();
        if (answers.empty()) {
            ++unanswered;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void tell(const std::exception& error) override { messages << QString::fromUtf8(error.what()); }
    void note(const QString& text) override { notes << text; }
};
