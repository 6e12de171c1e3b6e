// The status bar under the panel: a passing remark at its left (the workflow's notes, a count
// of cells changed), and at its right what stays while the user works: the stage's counts
// (LLiczniki) and the drawing mode in force (LTryb).
#pragma once

#include <QStatusBar>

class QLabel;

class EditorStatusBar : public QStatusBar {
public:
    explicit EditorStatusBar(QWidget* parent = nullptr);

    // Shown until the next remark replaces it.
    void showRemark(const QString& text) { showMessage(text); }

    QLabel* LLiczniki;
    QLabel* LTryb;
};
