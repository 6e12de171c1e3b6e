// The integer field of the editor's dialogs: a line edit with a minimum, a maximum, a step of 1,
// a limit on typed characters and two spin buttons at its right edge.
//
// Its rules differ from QSpinBox's on purpose, because the stage parameters are enforced here:
//
//   typing     digits, "+", "-", the locale's decimal separator and control keys (Backspace,
//              clipboard keys, cursor keys) are taken; any other character, Enter included, is
//              refused with a beep. Enter and Escape never leave the field, so they press no
//              dialog button. At most the typing limit of characters can be typed.
//   value()    the whole text as a signed integer, NOT clamped; a text that does not convert
//              (empty, a lone sign, a decimal separator, pasted letters) reads as minimum().
//   setValue() clamps to minimum()..maximum() and writes the plain decimal form.
//   stepping   Up/Down keys and the spin buttons: setValue(value() +/- 1). A spin button steps
//              when pressed, repeats after 400 ms and then every 100 ms, and gives the field
//              the focus.
//   leaving    when the focus moves to another control, a value outside the range is set to
//              its clamped value; a text that does not convert is left as it is.
//
// Usage:
//   auto* field = new NumberField(18, 80, 2, parent);   // minimum, maximum, typing limit
//   field->setValue(32);
//   int32_t szer = field->value();
#pragma once

#include <QLineEdit>

#include <cstdint>

class QToolButton;

class NumberField : public QLineEdit {
    Q_OBJECT

public:
    NumberField(int32_t minimum, int32_t maximum, int typingLimit, QWidget* parent = nullptr);

    int32_t minimum() const { return minimum_; }
    int32_t maximum() const { return maximum_; }

    // The text read as an integer, unclamped; the minimum when it does not convert.
    int32_t value() const;
    // The value clamped to the range, written as plain decimal.
    void setValue(int32_t value);
    int32_t clamped(int32_t value) const;
    // setValue(value() + steps).
    void stepBy(int steps);

    QToolButton* upButton() const { return upButton_; }
    QToolButton* downButton() const { return downButton_; }

    QSize sizeHint() const override;

signals:
    // Emitted with every beep, so that the refusals can be observed.
    void refused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool isAcceptedCharacter(QChar character) const;
    void refuse();
    QToolButton* makeSpinButton(Qt::ArrowType arrow, int direction);
    void placeSpinButtons();

    int32_t minimum_;
    int32_t maximum_;
    QToolButton* upButton_;
    QToolButton* downButton_;
};
