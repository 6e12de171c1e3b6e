// Shared by the editor's tests: the real forms, started as the program starts them, the driving
// of their modal dialogs, file and message boxes, a working folder of each test's own, and stage
// files built by hand.
#pragma once

#include "EditorState.h"
#include "FileDialogs.h"
#include "FileWorkflow.h"
#include "Forms.h"
#include "GenLos.h"
#include "ListaE.h"
#include "MapView.h"
#include "NumberField.h"
#include "PackBytes.h"
#include "ParaEtap.h"
#include "StageFileWatcher.h"
#include "aarys.h"
#include "stage_file.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// Runs the menu command `command`, which shows a modal dialog, and `inDialog` while it is up.
inline bool inDialogOf(QAction* command, const std::function<void()>& inDialog) {
    return withModalDialog([command] { command->trigger(); }, [&](QWidget*) { inDialog(); });
}

// Shows `dialog` modally and runs `whileOpen` in it. Returns the dialog's result, or -1 when
// `whileOpen` left it open (it is then cancelled).
inline int runModal(QDialog* dialog, const std::function<void()>& whileOpen) {
    bool leftOpen = false;
    QTimer::singleShot(0, dialog, [&] {
        if (QApplication::activeModalWidget() == dialog && QTest::qWaitForWindowActive(dialog))
            whileOpen();
        leftOpen = dialog->isVisible();
        if (leftOpen)
            dialog->reject();
    });
    const int result = dialog->exec();
    return leftOpen ? -1 : result;
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

// Selects from (fromColumn, fromRow), which becomes the current cell, to the other corner.
inline void select(int fromColumn, int fromRow, int toColumn, int toRow) {
    leftClick(fromColumn, fromRow);
    leftClick(toColumn, toRow, Qt::ShiftModifier);
}

inline char cell(int column, int row) {
    return Stan->etap.plansza.at(column, row);
}

// The codes of several cells, for one comparison.
inline QString cells(std::initializer_list<QPoint> at) {
    QString codes;
    for (const QPoint point : at)
        codes += QLatin1Char(cell(point.x(), point.y()));
    return codes;
}

// The numbers of the toolbar buttons shown pressed, 1 for ToolButton1.
inline QList<int> pressedToolButtons() {
    QList<int> pressed;
    for (int index = 0; index < ToolCount; ++index)
        if (Form1->ToolButtons[std::size_t(index)]->isChecked())
            pressed << index + 1;
    return pressed;
}

// Paints with a tool button and a right press, as the user does.
inline void paint(int toolNumber, int column, int row) {
    QTest::mouseClick(Form1->ToolButtons[toolNumber - 1], Qt::LeftButton);
    rightPress(column, row);
}

inline void paintStartAndExit(int startColumn, int startRow, int exitColumn, int exitRow) {
    paint(1, startColumn, startRow);
    paint(13, exitColumn, exitRow);
    QTest::mouseClick(Form1->ToolButtons[13], Qt::LeftButton); // back to the empty tool
}

// Types the text one key press at a time, letters outside ASCII included.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}

// Every message box that opens is read and answered at once: the question about replacing a
// file with `replaceAnswer`, every other box with OK.
class MessageBoxCatcher : public QObject {
public:
    struct Shown {
        QString text;
        QMessageBox::Icon icon;
        QString title;
        QStringList buttons; // their texts, in the box's order
        QString defaultButton;
    };
    QMessageBox::StandardButton replaceAnswer = QMessageBox::Yes;
    std::vector<Shown> shown;

    MessageBoxCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start();
    }
    QStringList texts() const {
        QStringList result;
        for (const Shown& box : shown)
            result << box.text;
        return result;
    }

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        QStringList buttons;
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        const QPushButton* preset = box->defaultButton();
        shown.push_back({box->text(), box->icon(), box->windowTitle(), buttons,
                         preset != nullptr ? preset->text() : QString()});
        if (QAbstractButton* yes = box->button(replaceAnswer))
            yes->click();
        else
            box->button(QMessageBox::Ok)->click();
    }
    QTimer timer_;
};

// A working folder of its own for each test, so that "Plan01.map" lands there.
class WorkingFolder {
public:
    WorkingFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~WorkingFolder() { QDir::setCurrent(previous_); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    bool isValid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// A test's own working folder with the editor started in it and, unless the test answers its
// message boxes itself, every box answered: start() from the test's init(), stop() from its
// cleanup(), so that each test begins afresh and leaves the working folder as it found it.
struct EditorSession {
    enum class Boxes { Answered, LeftToTheTest };

    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<MessageBoxCatcher> boxes; // none with Boxes::LeftToTheTest

    // False, with the editor not started, when the folder could not be made.
    bool start(Boxes answering = Boxes::Answered) {
        folder = std::make_unique<WorkingFolder>();
        if (!folder->isValid())
            return false;
        startEditor();
        if (answering == Boxes::Answered)
            boxes = std::make_unique<MessageBoxCatcher>();
        return true;
    }

    void stop() {
        boxes.reset();
        stopEditor();
        folder.reset();
    }
};

inline krelwin::Etap loadStage(const QString& path, int index) {
    krelwin::Etap etap;
    krelwin::CzytajEtap(native(path), index, etap);
    return etap;
}

inline QStringList listItems() {
    QStringList items;
    for (int i = 0; i < Form3->nameCount(); ++i)
        items << Form3->itemText(i);
    return items;
}

// The cells the view draws while `action` runs. The view draws as it always does meanwhile, and
// afterwards without the counting.
inline std::vector<MapView::Cell> cellsDrawnBy(const std::function<void()>& action) {
    QApplication::processEvents();
    std::vector<MapView::Cell> drawn;
    Form1->DG1->setDrawCellHandler([&](QPainter& canvas, int column, int row, const QRect& rect) {
        drawn.push_back({column, row});
        Form1->DG1DrawCell(canvas, column, row, rect);
    });
    action();
    QApplication::processEvents();
    Form1->DG1->setDrawCellHandler([](QPainter& canvas, int column, int row, const QRect& rect) {
        Form1->DG1DrawCell(canvas, column, row, rect);
    });
    return drawn;
}

// Holds back the editor's reports of outside changes to its file while the test changes the
// file itself: otherwise the list would follow at a moment the test cannot know.
inline QSignalBlocker quietFileWatcher() {
    return QSignalBlocker(Workflow->findChild<StageFileWatcher*>());
}

// A click or a double click on item `row` of the stage list, as the user makes it.
inline QPoint centreOfItem(int row) {
    return Form3->ListBox1->visualRect(Form3->ListBox1->model()->index(row, 0)).center();
}

inline void clickItem(int row) {
    QTest::mouseClick(Form3->ListBox1->viewport(), Qt::LeftButton, {}, centreOfItem(row));
}

inline void doubleClickItem(int row) {
    QTest::mouseDClick(Form3->ListBox1->viewport(), Qt::LeftButton, {}, centreOfItem(row));
}

// "Wybierz etap" with a double click on item `row`.
inline bool chooseStage(int row) {
    return inDialogOf(Form1->Wybierzetap1, [row] { doubleClickItem(row); });
}

// Chooses `path` in a file dialog as typing it does: a file highlighted in the dialog's list
// from its last use no longer counts.
inline void choose(QWidget* dialog, const QString& path) {
    for (QListView* view : dialog->findChildren<QListView*>())
        view->clearSelection();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name != nullptr);
    name->setText(path);
}

// Runs the command that shows a file dialog, chooses `path` in it (keeps the preset when
// empty) and accepts.
inline bool chooseFile(QAction* command, const QString& path) {
    return withModalDialog([command] { command->trigger(); },
                           [path](QWidget* dialog) {
                               auto* files = qobject_cast<QFileDialog*>(dialog);
                               QVERIFY(files != nullptr);
                               if (!path.isEmpty())
                                   choose(files, path);
                               static_cast<QDialog*>(files)->accept(); // public there
                           });
}

inline bool openFile(const QString& path) {
    return chooseFile(Form1->Otwrz1, path);
}

inline bool save(const QString& path = QString()) {
    return chooseFile(Form1->Zapisz1, path);
}

// Runs a command that shows the parameters dialog and confirms it after `edit`.
inline bool confirmParameters(QAction* command, const std::function<void()>& edit) {
    return inDialogOf(command, [&] {
        edit();
        QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
    });
}

inline void enterSize(int szer, int wys) {
    Form2->SESzer->setValue(szer);
    Form2->SEWys->setValue(wys);
}

inline bool setSize(QAction* command, int szer, int wys) {
    return confirmParameters(command, [=] { enterSize(szer, wys); });
}

// "Nowy" confirmed with the given size.
inline bool newStage(int szer = 32, int wys = 20) {
    const bool seen = setSize(Form1->Nowy1, szer, wys);
    QApplication::processEvents();
    return seen;
}

inline bool newStageNamed(const QString& name, int szer, int wys) {
    return confirmParameters(Form1->Nowyetap1, [=] {
        Form2->EEtap->setText(name);
        enterSize(szer, wys);
    });
}

// "Zapisz jako" with `name` typed into the list dialog's name field and confirmed.
inline bool saveAs(const QString& name) {
    return inDialogOf(Form1->Zapiszjako1, [&] {
        Form3->EEtap->setText(name);
        QTest::mouseClick(Form3->BitBtn1, Qt::LeftButton);
    });
}

} // namespace fixture
