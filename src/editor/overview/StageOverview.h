// The dialog "Przegląd etapów": every stage of the current file as a picture with its number
// (counted from 1) and name, in file order, in a grid that fills the window and scrolls, the
// stage "Zapisz" writes over in bold. It follows the file as the stage list does: a change by
// another program, or another file, is shown anew.
//
// A double click on a picture (or Enter) chooses that stage as "Wybierz etap" does, through the
// file workflow, question about unsaved changes included; loaded, the dialog closes. Dragging a
// picture to another place moves its stage in the file, and a picture's context menu moves it
// one place up or down, duplicates it or deletes it (Delete), as the stage list's menu does:
// each at once on the file, under the name guard with the name shown here, also past the
// hundredth stage, which the stage list does not reach.
#pragma once

#include "DialogHelpers.h"

#include <optional>

class FileWorkflow;
class QAction;
class QLabel;
class QMenu;
class StageOverviewModel;
class StageOverviewView;
struct ShownStage;

class StageOverview : public PlacedDialog {
public:
    explicit StageOverview(FileWorkflow& workflow, QWidget* parent = nullptr);

    // Shows the dialog modally; shown, it reads the current file unless it holds it already.
    void run();

    StageOverviewModel* model() const { return model_; }

    StageOverviewView* Obrazy; // the pictures
    QLabel* LLiczba;           // how many stages, or why the file cannot be read
    QMenu* PopupMenu1;         // a picture's context menu
    QAction* Wybierz1;
    QAction* Przesuwyej1;
    QAction* Przesuniej1;
    QAction* Powiel1;
    QAction* Usu1;

    void ObrazyDblClick(int row);
    void ObrazyDrop(int from, int to);
    void ObrazyContextPopup(QPoint viewportPoint);
    void Wybierz1Click();
    void Przesuwyej1Click();
    void Przesuniej1Click();
    void Powiel1Click();
    void Usu1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildPopupMenu();
    void followWorkflow();
    void followFile();
    void showFile();
    void showReading();
    int currentRow() const;
    ShownStage shownStage(int row) const;
    // After a command on the file: the file is read again and `row` becomes the current one.
    void showAfterCommand(int row);

    FileWorkflow& workflow_;
    StageOverviewModel* model_;
    std::optional<int> currentAfterReading_;
};
