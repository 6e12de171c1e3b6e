// Refuses, as it is typed or pasted, what a name or colour text field must not take: a
// character the code page of stage files cannot hold, a character that would break the
// counting of the stage records, and, with a typing limit, anything that makes the text longer
// than the limit. A longer text set by the program stays whole and may still be shortened.
#pragma once

#include <QValidator>

class QLineEdit;

namespace krelwin {

class FileTextValidator : public QValidator {
public:
    enum class Kind { StageName, ColourText };
    static constexpr int NoLimit = 0;

    // Watches `field` to learn the length of its text before each change.
    FileTextValidator(Kind kind, int typingLimit, QLineEdit* field);

    State validate(QString& input, int& pos) const override;

private:
    Kind kind_;
    int typingLimit_;
    qsizetype previousLength_;
};

// Installs a FileTextValidator on the field (which owns it).
void limitFileText(QLineEdit* field, FileTextValidator::Kind kind, int typingLimit);

} // namespace krelwin
