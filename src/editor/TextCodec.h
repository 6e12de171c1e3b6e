// Names and colour texts as the editor shows them and as the stage file holds them. The file
// holds bytes in the Windows-1250 code page; every byte has a character, so a name read from a
// file goes back byte for byte, and a name typed with Polish letters is stored as the game
// expects.
#pragma once

#include <QString>
#include <QValidator>

#include <string>

class QLineEdit;

namespace krelwin {

QString fromFileBytes(const std::string& bytes);

// Throws WriteRefused, in Polish, when a character of the text has no byte in the code page.
std::string toFileBytes(const QString& text);

// Refuses, as it is typed or pasted, what a name or colour text field must not take: a
// character the code page cannot hold, a character that would break the counting of the stage
// records, and, with a typing limit, anything that makes the text longer than the limit. A
// longer text set by the program stays whole and may still be shortened.
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
