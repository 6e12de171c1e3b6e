#include "NumberField.h"

#include "integer_text.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace {
constexpr int SpinButtonWidth = 15;
constexpr int RepeatDelayMs = 400;
constexpr int RepeatIntervalMs = 100;
} // namespace

NumberField::NumberField(int32_t minimum, int32_t maximum, int typingLimit, QWidget* parent)
    : QLineEdit(parent), minimum_(minimum), maximum_(std::max(minimum, maximum)) {
    // The values the program writes are clamped to the range and so always fit the limit;
    // the limit therefore only ever stops typing and pasting.
    setMaxLength(typingLimit);
    upButton_ = makeSpinButton(Qt::UpArrow, +1);
    downButton_ = makeSpinButton(Qt::DownArrow, -1);
    setTextMargins(0, 0, SpinButtonWidth, 0);
    setValue(minimum_);
}

QToolButton* NumberField::makeSpinButton(Qt::ArrowType arrow, int direction) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(RepeatDelayMs);
    button->setAutoRepeatInterval(RepeatIntervalMs);
    // While held, an auto-repeating button raises pressed() again at every repeat; stepping on
    // pressed() therefore steps once at once and then at each repeat, not again on release.
    connect(button, &QToolButton::pressed, this, [this, direction] {
        setFocus(Qt::MouseFocusReason);
        stepBy(direction);
    });
    return button;
}

int32_t NumberField::value() const {
    const auto number = krelwin::parseInteger(text().toStdString());
    return number ? *number : minimum_;
}

int32_t NumberField::clamped(int32_t value) const {
    return std::clamp(value, minimum_, maximum_);
}

void NumberField::setValue(int32_t value) {
    setText(QString::number(clamped(value)));
}

void NumberField::stepBy(int steps) {
    // Widened so that a pasted extreme value cannot overflow on its way to the clamp.
    const int64_t target = int64_t{value()} + steps;
    setValue(static_cast<int32_t>(
        std::clamp<int64_t>(target, int64_t{minimum_} - 1, int64_t{maximum_} + 1)));
}

bool NumberField::isAcceptedCharacter(QChar character) const {
    if (character.isDigit() && character.unicode() < 128)
        return true;
    if (character == u'+' || character == u'-')
        return true;
    return QString(character) == QLocale().decimalPoint();
}

void NumberField::refuse() {
    QApplication::beep();
    emit refused();
}

void NumberField::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        refuse();
        event->accept();
        return;
    case Qt::Key_Escape:
        // Kept from the dialog (it would cancel it) but, being a control key, not refused.
        event->accept();
        return;
    case Qt::Key_Up:
        stepBy(+1);
        event->accept();
        return;
    case Qt::Key_Down:
        stepBy(-1);
        event->accept();
        return;
    default:
        break;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).unicode() >= 0x20 &&
                           typed.at(0).unicode() != 0x7f &&
                           !(event->modifiers() & Qt::ControlModifier);
    if (printable && !std::all_of(typed.begin(), typed.end(),
                                  [this](QChar c) { return isAcceptedCharacter(c); })) {
        refuse();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberField::focusOutEvent(QFocusEvent* event) {
    // Only a move to another control counts as leaving; switching windows or opening a menu
    // does not.
    const bool leftForAnotherControl =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (leftForAnotherControl) {
        const auto number = krelwin::parseInteger(text().toStdString());
        if (number && *number != clamped(*number))
            setValue(*number);
    }
    QLineEdit::focusOutEvent(event);
}

void NumberField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeSpinButtons();
}

void NumberField::placeSpinButtons() {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int inner = height() - 2 * frame;
    const int upHeight = inner / 2;
    const int x = width() - frame - SpinButtonWidth;
    upButton_->setGeometry(x, frame, SpinButtonWidth, upHeight);
    downButton_->setGeometry(x, frame + upHeight, SpinButtonWidth, inner - upHeight);
}

QSize NumberField::sizeHint() const {
    return QSize(49, 22);
}
