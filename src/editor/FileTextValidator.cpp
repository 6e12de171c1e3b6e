#include "FileTextValidator.h"

#include "cp1250.h"
#include "stage_file.h"

#include <QLineEdit>

namespace krelwin {

FileTextValidator::FileTextValidator(Kind kind, int typingLimit, QLineEdit* field)
    : QValidator(field), kind_(kind), typingLimit_(typingLimit),
      previousLength_(field->text().size()) {
    // textChanged comes after the validation of a change, so at the next validation this still
    // holds the length from before it.
    connect(field, &QLineEdit::textChanged, this,
            [this](const QString& text) { previousLength_ = text.size(); });
}

QValidator::State FileTextValidator::validate(QString& input, int&) const {
    if (typingLimit_ != NoLimit && input.size() > typingLimit_ && input.size() > previousLength_) {
        return Invalid;
    }
    const std::optional<std::string> bytes = encodeCp1250(input.toStdU32String());
    if (!bytes) {
        return Invalid;
    }
    const std::string problem =
        kind_ == Kind::StageName ? nameProblem(*bytes) : colourTextProblem(*bytes);
    return problem.empty() ? Acceptable : Invalid;
}

void limitFileText(QLineEdit* field, FileTextValidator::Kind kind, int typingLimit) {
    field->setValidator(new FileTextValidator(kind, typingLimit, field));
}

} // namespace krelwin
