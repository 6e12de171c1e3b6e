// What the editor's modal dialogs share: their place on the screen, accelerators that leave the
// focus where it is, and the boxes in which a handler's error reaches the user.
#pragma once

#include "TextCodec.h"

#include <QAction>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QStyle>

#include <exception>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;

// A dialog centred on the screen the first time it is shown; later showings put it where it
// was last, since hiding keeps its place.
class PlacedDialog : public QDialog {
public:
    using QDialog::QDialog;
    void setVisible(bool visible) override;

private:
    bool placedBefore_ = false;
};

// The dialogs' font: MS Sans Serif, 11 pixels high, or the nearest sans serif.
QFont dialogFont();

// The dialogs' places were laid out for MS Sans Serif. In the wider face that stands in for it
// a caption can run into the field right of it; these keep LabelGap pixels clear between them
// by moving things only as far as the font needs, so in the laid-out font every place holds.
constexpr int LabelGap = 6;

// How many pixels the label's text lacks to end LabelGap before `fieldLeft`; 0 when it fits.
int roomMissingLeftOf(const QLabel* label, int fieldLeft);

struct LabelledField {
    const QLabel* label;
    QWidget* field;
};

// Moves the fields of one column right together, as far as its widest caption needs, so that
// the column stays aligned; returns how far they moved.
int moveFieldsClearOfLabels(const std::vector<LabelledField>& column);

// How much wider `box` has to be to hold content ending at `contentRight` (exclusive) and
// `margin` pixels more; 0 when it already does.
int widthMissing(const QWidget* box, int contentRight, int margin);

// Widens a group, field or fixed-size window by `pixels`, keeping its left edge.
void widenBy(QWidget* box, int pixels);

// The style's standard icon for a dialog button, looked up only when it is first drawn: the
// first lookup reads the desktop's icon theme, which would otherwise cost every start of the
// editor the time of its dialogs' buttons, whether or not a dialog is ever opened.
QIcon dialogButtonIcon(QStyle::StandardPixmap which);

// The button's "&" accelerator (Alt + letter) presses it without taking the focus, so that a
// number still being typed in a field is read as typed.
void pressOnAcceleratorKeepingFocus(QPushButton* button);

// The program's own messages in a plain box; any other error in the error box, with the full
// stop of the runtime's error report.
void showError(QWidget* parent, const std::exception& error);

// A question of the program's own, answered "&Tak" or "&Nie" (by a click, by T or N, or by
// Alt with either, as in Qt's own Polish boxes); Enter gives the preset answer, Escape and the
// close box "Nie". True for "Tak".
enum class YesNoPreset { Tak, Nie };
bool askYesNo(QWidget* parent, const QString& text, YesNoPreset preset = YesNoPreset::Nie);

// Runs an event handler; an error stops it at that step and is shown. Then each backup that an
// interrupted write left beside a file the handler read or wrote is told of, once a run.
void runHandler(QWidget* parent, const std::function<void()>& handler);

// A menu item whose choice runs the form's handler through runHandler.
template <typename Form, typename Menu>
QAction* addHandlerItem(Menu* menu, const QString& caption, Form* form, void (Form::*handler)()) {
    QAction* action = menu->addAction(caption);
    QObject::connect(action, &QAction::triggered, form, [form, handler] {
        runHandler(form, [form, handler] { (form->*handler)(); });
    });
    return action;
}
