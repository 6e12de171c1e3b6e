// Shared by the editor's tests: the real forms, started as the program starts them, and the
// driving of their modal dialogs.
#pragma once

#include "Forms.h"
#include "MapView.h"
#include "NumberField.h"
#include "ParaEtap.h"
#include "aarys.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace fixture {

inline void startEditor() {
    createForms();
    Form1->show();
    QApplication::setActiveWindow(Form1);
    QApplication::processEvents();
}

inline void stopEditor() {
    destroyForms();
}

// Runs `command`, which shows a modal dialog; once it is up, `inDialog` acts on it (and must
// close it). Returns whether the dialog was seen.
inline bool withModalDialog(const std::function<void()>& command,
                            const std::function<void(QWidget*)>& inDialog) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr)
            return;
        seen = true;
        inDialog(dialog);
        // A failed check inside must not leave the test waiting on an open dialog.
        if (dialog->isVisible())
            if (auto* modal = qobject_cast<QDialog*>(dialog))
                modal->reject();
    });
    command();
    return seen;
}

// "Nowy" confirmed with the given size.
inline bool newStage(int szer = 32, int wys = 20) {
    const bool seen =
        fixture::withModalDialog([] { Form1->Nowy1->trigger(); },
                                 [szer, wys](QWidget*) {
                                     Form2->SESzer->setValue(szer);
                                     Form2->SEWys->setValue(wys);
                                     QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
                                 });
    QApplication::processEvents();
    return seen;
}

inline QPoint centreOf(int column, int row) {
    return Form1->DG1->cellRect(column, row).center();
}

inline void leftClick(int column, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(Form1->DG1->viewport(), Qt::LeftButton, modifiers, centreOf(column, row));
}

inline void rightPress(int column, int row) {
    QTest::mousePress(Form1->DG1->viewport(), Qt::RightButton, {}, centreOf(column, row));
    QTest::mouseRelease(Form1->DG1->viewport(), Qt::RightButton, {}, centreOf(column, row));
}

// Selects the rectangle from (fromColumn, fromRow), which becomes the current cell, to the
// other corner, with a left press and a Shift + left press.
inline void select(int fromColumn, int fromRow, int toColumn, int toRow) {
    leftClick(fromColumn, fromRow);
    leftClick(toColumn, toRow, Qt::ShiftModifier);
}

inline char cell(int column, int row) {
    return Form1->etap.plansza.at(column, row);
}

} // namespace fixture
