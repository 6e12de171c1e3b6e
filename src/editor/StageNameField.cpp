#include "StageNameField.h"

#include "DialogHelpers.h"

void StageNameField::setText(const QString& name) {
    whole_ = name;
    QLineEdit::setText(shownName(name));
}

QString StageNameField::text() const {
    const QString shown = QLineEdit::text();
    return shown == shownName(whole_) ? whole_ : shown;
}
