#include "EditorStatusBar.h"

#include <QLabel>

EditorStatusBar::EditorStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    LLiczniki = new QLabel(this);
    LTryb = new QLabel(this);
    addPermanentWidget(LLiczniki);
    addPermanentWidget(LTryb);
}
