// The stage list dialog "Etapy". Its list ListBox1 is at the same time the program's one list
// of the current file's stage names, item i naming the stage at position i, with the selected
// position (-1 when nothing is selected). The list and its selection live while the dialog is
// hidden, and the main window's commands read and change them directly.
//
// The dialog is shown modally by "Wybierz etap" and "Zapisz jako" and returns Accepted only
// through "&Zatwierdź" or a double click. A rename inside it rewrites the name line of the
// stage file at once and survives a Cancel.
#pragma once

#include "DialogHelpers.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TForm3 : public PlacedDialog {
public:
    explicit TForm3(QWidget* parent = nullptr);

    // The main window's current file and current stage name (the texts of its labels LPlik
    // and LEtap). The main window wires them up; unwired, the file is "" and names go nowhere.
    std::function<QString()> biezacyPlik;
    std::function<void(const QString&)> setBiezacyEtap;

    // The list's selected position, -1 when nothing is selected.
    int selectedIndex() const;
    // Selects by program: ListBox1Click does not run, so EEtap keeps its text.
    void selectIndex(int index);
    // The text of item `index`; throws RuntimeError "List index out of bounds (index)" when
    // there is no such item.
    QString itemText(int index) const;
    QString selectedItemText() const { return itemText(selectedIndex()); }
    // Names as the stage file holds them, added at the end; the selection does not change.
    void appendFileNames(const std::vector<std::string>& names);
    void appendName(const QString& name);

    int ZapamietanyIndeks = -1;

    QLabel* Label1;
    QLineEdit* EEtap;
    QGroupBox* GroupBox1;
    QListWidget* ListBox1;
    QWidget* Panel1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QPushButton* BitBtn3;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    void FormShow();
    void ListBox1Click();
    void ListBox1DblClick();
    void BitBtn3Click();
    void Edit1KeyPress(); // Enter in Edit1; other keys are ordinary typing
    void BitBtn1Click();
    void BitBtn2Click();
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void setTabOrder();
    void connectHandlers();
    // The rename of the selected item to Edit1's text.
    void ZmienNazwe();
    void keepSelectionShown();
    std::string currentFilePath() const;
};
