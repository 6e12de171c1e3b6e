// The stage list dialog "Etapy". Its list ListBox1 is at the same time the program's one list
// of the current file's stage names, item i naming the stage at position i, with the selected
// position (-1 when nothing is selected). The list and its selection live while the dialog is
// hidden, and the main window's commands read and change them through its methods.
//
// The dialog is shown modally by "Wybierz etap" and "Zapisz jako" and returns Accepted only
// through "&Zatwierdź" or a double click; "&Anuluj" and the close box both cancel, bringing
// back the selection it was shown with and the name of the item selected then. A rename inside
// it rewrites the name line of the stage file at once and survives a Cancel.
//
// Each item keeps its stage's whole name for every write and comparison, but shows it as
// shownName cuts it, and cut again with an ellipsis where it is wider than the list.
//
// An item's context menu (right click, or the Menu key on the selected item) moves the stage
// one place up or down, duplicates it, or deletes it from the file after a question. Each runs
// at once on the file, checked against the name listed there; the list is then read again and
// the selection follows the stage (a deleted one leaves nothing selected). The stage in memory
// is not touched.
#pragma once

#include "DialogHelpers.h"
#include "StageNameField.h"
#include "errors.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class EditorState;
class QGroupBox;
class QLabel;
class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

class TForm3 : public PlacedDialog {
public:
    // The list names the stages of `stan`'s current file; a chosen name becomes its BiezacyEtap.
    explicit TForm3(EditorState& stan, QWidget* parent = nullptr);

    // The list's selected position, -1 when nothing is selected.
    int selectedIndex() const;
    // Selects by program: ListBox1Click does not run, so EEtap keeps its text.
    void selectIndex(int index);
    // The whole name of item `index`; throws RuntimeError "List index out of bounds (index)"
    // when there is no such item.
    QString itemText(int index) const;
    QString selectedItemText() const { return itemText(selectedIndex()); }
    // Names as the stage file holds them, added at the end; the selection does not change.
    void appendFileNames(const std::vector<std::string>& names);
    void appendName(const QString& name);
    void setItemName(int index, const QString& name);
    int nameCount() const;
    void clearNames();

    // The name field EEtap: the name "Zapisz" and "Zapisz jako" write under. "Zapisz jako" lets
    // the user type in it, "Wybierz etap" only shows the chosen name there.
    QString stageName() const;
    void setStageName(const QString& name);
    void setStageNameEditable(bool editable);

    // How a fresh reading of the file's names left the selection: kept only where the same
    // name still stands at the same position.
    struct Reread {
        int position = -1; // the selected position before the reading; -1 when none
        QString name;      // the name that stood there
        bool kept = false;
    };
    // Reads the names from the current file again. A missing or unreadable file throws and
    // leaves the list as it was.
    Reread rereadNames();
    // Puts `names` in place of the list's items under the same rule.
    Reread replaceNames(const std::vector<std::string>& names);
    // What a reading did to the selection, in a sentence for the user.
    static QString describe(const Reread& reread);
    // Whether the items are these names, in this order.
    bool holdsNames(const std::vector<std::string>& names) const;
    // A write refused because the file no longer holds the listed name at its position: the
    // list is read again, and the refusal's text is followed by what became of the selection.
    krelwin::PlainMessage refusalAfterRereading(const std::exception& refusal);

    // An OK the command takes back ("Nie" to its question): the dialog's outcome becomes what a
    // Cancel gives, the remembered selection and name field.
    void takeBackConfirmation();
    // The selection and name field go back to what they were when the dialog was shown.
    void restoreStateWhenShown();

    int ZapamietanyIndeks = -1;

    StageNameField* EEtap;
    QListWidget* ListBox1;
    QWidget* Panel1;
    QLineEdit* Edit1;
    QPushButton* BitBtn3;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    QMenu* PopupMenu1; // the items' context menu
    QAction* Przesuwyej1;
    QAction* Przesuniej1;
    QAction* Powiel1;
    QAction* Usu1;

    void FormShow();
    void ListBox1Click();
    void ListBox1DblClick();
    void BitBtn3Click();
    void Edit1KeyPress(); // Enter in Edit1; other keys are ordinary typing
    void BitBtn1Click();
    void BitBtn2Click();
    void FormClose();
    // The context menu of item `row`, at `globalPos`.
    void ListBox1ContextPopup(int row, QPoint globalPos);
    void Przesuwyej1Click();
    void Przesuniej1Click();
    void Powiel1Click();
    void Usu1Click();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void setTabOrder();
    void connectHandlers();
    void buildPopupMenu();
    // The rename of the selected item to Edit1's text.
    void ZmienNazwe();
    // Runs a write into the stage file for the list. A refusal of the program's own is shown
    // (after reading the list again when the file changed under it) and ends the write there;
    // true when the write went through.
    bool writeForList(const std::function<void()>& write);
    void przesunEtap(int from, int to);
    // After a write that moved the file's stages: the list is read again, `selected` becomes
    // the selected position, and the position remembered when the dialog was shown follows its
    // stage to `newPosition` of it (-1 for a stage gone).
    void showStagesMoved(int selected, const std::function<int(int)>& newPosition);
    void keepSelectionShown();
    std::string currentFilePath() const;

    EditorState& stan_;
    QLabel* Label1;
    QGroupBox* GroupBox1;
    QLabel* Label2;
    QString nameWhenShown_; // the name field's text when the dialog was last shown
    int menuRow_ = -1;      // the item the context menu was opened on
};
