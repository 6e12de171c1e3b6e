// The stage list dialog "Etapy": a view of the file workflow's stage list. Its list ListBox1
// shows the current file's stage names, item i naming the stage at position i, and its
// selection is the list's selected position; the name field EEtap is the list's name field.
// What the user does here changes the list at once; the list lives while the dialog is hidden.
//
// The dialog is shown modally by "Wybierz etap" and "Zapisz jako" and returns Accepted only
// through "&Zatwierdź" or a double click on an item; "&Anuluj" and the close box both cancel,
// bringing back the selection it was shown with and the name field that goes with it. A rename
// inside it rewrites the name line of the stage file at once and survives a Cancel.
//
// An item's context menu (right click, or the Menu key on the selected item) moves the stage
// one place up or down, duplicates it, or deletes it from the file after a question. Each runs
// at once on the file through the workflow; the stage in memory is not touched.
#pragma once

#include "DialogHelpers.h"
#include "StageNameField.h"

#include <QPoint>
#include <QString>

class FileWorkflow;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class StageListModel;

class TForm3 : public PlacedDialog {
public:
    explicit TForm3(FileWorkflow& workflow, QWidget* parent = nullptr);

    // The list's selected position, -1 when nothing is selected.
    int selectedIndex() const;
    // Selects by program: ListBox1Click does not run, so EEtap keeps its text.
    void selectIndex(int index);
    // The whole name of item `index`; throws RuntimeError "List index out of bounds (index)"
    // when there is no such item.
    QString itemText(int index) const;
    int nameCount() const;

    // "Zapisz jako" lets the user type in the name field, "Wybierz etap" only shows the chosen
    // name there.
    void setStageNameEditable(bool editable);

    StageNameField* EEtap;
    QListView* ListBox1;
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
    void followList();
    void buildPopupMenu();
    // The rename of the selected item to Edit1's text.
    void ZmienNazwe();
    // The view's selection follows the list's.
    void showSelection(int index);
    void keepSelectionShown();

    FileWorkflow& workflow_;
    StageListModel& list_;
    QLabel* Label1;
    QGroupBox* GroupBox1;
    QLabel* Label2;
    int menuRow_ = -1; // the item the context menu was opened on
};
