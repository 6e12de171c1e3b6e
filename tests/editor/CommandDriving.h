// Shared by the tests of the menu commands: a temporary working folder, the driving of the
// file dialogs, the stage list dialog and the message boxes, and stage files built by hand.
#pragma once

#include "EditorFixture.h"
#include "FileDialogs.h"
#include "GenLos.h"
#include "ListaE.h"
#include "stage_file.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <string>
#include <vector>

namespace commands {

// Every message box that opens is read and answered at once: the question about replacing a
// file with `replaceAnswer`, every other box with OK.
class MessageBoxCatcher : public QObject {
public:
    struct Shown {
        QString text;
        QMessageBox::Icon icon;
        QString title;
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
        shown.push_back({box->text(), box->icon(), box->windowTitle()});
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

inline std::string readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

inline void writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes.data(), qint64(bytes.size()));
}

// One stage record as the game's files hold it: each row filled with `fill`, "S" and "W" at
// the start of the first row.
inline std::string record(const std::string& name, char fill, int szer = 18, int wys = 10) {
    std::string bytes = "(" + name + ")\r\n}\r\n" + (szer < 10 ? "0" : "") + std::to_string(szer) +
                        "," + std::to_string(wys) +
                        ",010,010,010,010,010,100,Z,"
                        "00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55,\r\n{\r\n";
    for (int row = 1; row <= wys; ++row) {
        std::string line(std::size_t(szer), fill);
        if (row == 1) {
            line[0] = 'S';
            line[1] = 'W';
        }
        bytes += line + "\r\n";
    }
    return bytes;
}

inline std::string stageFile(const std::vector<std::string>& names) {
    std::string bytes;
    for (std::size_t i = 0; i < names.size(); ++i)
        bytes += record(names[i], char('a' + i));
    return bytes;
}

// Chooses `path` in a file dialog as typing it does: a file highlighted in the dialog's list
// from its last use no longer counts.
inline void choose(StageFileDialog* files, const QString& path) {
    for (QListView* view : files->findChildren<QListView*>())
        view->clearSelection();
    // As typed into the name field, which keeps the focus from one showing to the next.
    auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name != nullptr);
    name->setText(path);
}

inline std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Runs the command that shows a file dialog and chooses `path` in it.
inline bool chooseFile(QAction* command, const QString& path) {
    return fixture::withModalDialog([command] { command->trigger(); },
                                    [path](QWidget* dialog) {
                                        auto* files = static_cast<StageFileDialog*>(
                                            qobject_cast<QFileDialog*>(dialog));
                                        QVERIFY(files != nullptr);
                                        choose(files, path);
                                        files->accept();
                                    });
}

inline bool openFile(const QString& path) {
    return chooseFile(Form1->Otwrz1, path);
}

// Runs a command that shows the parameters dialog and confirms it after `edit`.
inline bool confirmParameters(QAction* command, const std::function<void()>& edit) {
    return fixture::withModalDialog([command] { command->trigger(); },
                                    [edit](QWidget*) {
                                        edit();
                                        QTest::mouseClick(Form2->BitBtn1, Qt::LeftButton);
                                    });
}

inline bool newStageNamed(const QString& name, int szer, int wys) {
    return confirmParameters(Form1->Nowyetap1, [=] {
        Form2->EEtap->setText(name);
        Form2->SESzer->setValue(szer);
        Form2->SEWys->setValue(wys);
    });
}

// "Zapisz jako" with `name` typed into the list dialog's name field and confirmed.
inline bool saveAs(const QString& name) {
    return fixture::withModalDialog([] { Form1->Zapiszjako1->trigger(); },
                                    [name](QWidget*) {
                                        Form3->EEtap->setText(name);
                                        QTest::mouseClick(Form3->BitBtn1, Qt::LeftButton);
                                    });
}

// "Zapisz" with `path` chosen in the save dialog (its preset, the current file, when empty).
inline bool save(const QString& path = QString()) {
    return fixture::withModalDialog([] { Form1->Zapisz1->trigger(); },
                                    [path](QWidget* dialog) {
                                        auto* files = static_cast<StageFileDialog*>(
                                            qobject_cast<QFileDialog*>(dialog));
                                        QVERIFY(files != nullptr);
                                        if (!path.isEmpty())
                                            choose(files, path);
                                        files->accept();
                                    });
}

// Types the text one key press at a time, letters outside ASCII included.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}

inline QStringList listItems() {
    QStringList items;
    for (int i = 0; i < Form3->ListBox1->count(); ++i)
        items << Form3->ListBox1->item(i)->text();
    return items;
}

// Paints with a tool button and right presses, as the user does.
inline void paint(int toolNumber, int column, int row) {
    QTest::mouseClick(Form1->ToolButtons[toolNumber - 1], Qt::LeftButton);
    fixture::rightPress(column, row);
}

inline void paintStartAndExit(int startColumn, int startRow, int exitColumn, int exitRow) {
    paint(1, startColumn, startRow);
    paint(13, exitColumn, exitRow);
    QTest::mouseClick(Form1->ToolButtons[13], Qt::LeftButton); // back to the empty tool
}

inline krelwin::Etap loadStage(const QString& path, int index) {
    krelwin::Etap etap;
    krelwin::CzytajEtap(native(path), index, etap);
    return etap;
}

} // namespace commands
