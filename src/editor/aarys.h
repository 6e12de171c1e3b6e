// The main window: toolbar of tools, menus, introductory labels, status line and the map view
// DG1 that shows the stage in memory. It is a view of the file workflow: its menu commands show
// their dialogs and hand what was confirmed to the workflow, and the window follows what the
// workflow and the editing state say (the stage replaced, cells changed, the file and the stage
// name, which menus a file opens). The status labels LPlik and LEtap show the file and the
// name, LEtap cut to its place; the status bar below takes passing remarks.
#pragma once

#include "CellChange.h"
#include "MapView.h"
#include "ToolBar.h"
#include "editing.h"
#include "generator.h"

#include <QMainWindow>

#include <functional>
#include <optional>

class DrawingControls;
class EditorState;
class EditorStatusBar;
class FileWorkflow;
class MainPanel;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class StageCounts;
class StageFileDialog;
class StageOverview;
class StageProblems;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(FileWorkflow& workflow);

    // Draws cell [column][row] of the stage into the map view: the view repaints just that
    // cell, through DG1DrawCell.
    void RysujPole(int column, int row);
    // The map view's selection as the editing operations take it.
    krelwin::Zaznaczenie zaznaczenie() const;

    // Tools: a button's click (buttons 1 to 13 toggle their code, 14 is the empty tool).
    void ToolButtonClick(int buttonNumber);
    void ToolButton14Click();
    void UstawNarzedzie();

    // The map view's events.
    // Draws the stage's cell [column][row] into `rect` of the view, on its painter.
    void DG1DrawCell(QPainter& canvas, int column, int row, const QRect& rect);
    void DG1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    void DG1DblClick();

    // "&Edycja".
    void Cofnij1Click();
    void Ponw1Click();
    void Wytnij1Click();
    void Kopiuj1Click();
    void Wklej1Click();
    void Skasuj1Click();

    // "&Plik", "E&tapy" and "&Opcje".
    void Nowy1Click();
    void Otwrz1Click();
    // A file named on the command line, opened as "Otwórz" opens the file its dialog returns,
    // with the same messages.
    void otworzZWierszaPolecen(const QString& path);
    // Once the window is up: first the stages kept by editors that ended without saving them
    // are offered, then the file named on the command line, if any, is opened.
    void zacznijPrace(const std::optional<QString>& file);
    void Zapisz1Click();
    void Koniec1Click();
    void Nowyetap1Click();
    void Wybierzetap1Click();
    void Parametryetapu1Click();
    void Zapiszjako1Click();
    void Problemyetapu1Click();
    void Przegldetapw1Click();
    void Siatka1Click();
    void Generator1Click();
    // An item of "Skala widoku": the map view at `percent`.
    void SkalaClick(int percent);

    // Steps 2 to 7 of "Generator map", after its dialog: the interior filled from the shares,
    // one step of the history.
    void generujMape(const krelwin::Udzialy& udzialy);

    ToolButtonArray ToolButtons{}; // ToolButton1 .. ToolButton14

    QMenu* Plik1;
    QAction* Nowy1;
    QAction* Otwrz1;
    QAction* Zapisz1;
    QAction* Koniec1;
    QMenu* Etapy1;
    QAction* Nowyetap1;
    QAction* Wybierzetap1;
    QAction* Parametryetapu1;
    QAction* Zapiszjako1;
    QAction* Problemyetapu1;
    QAction* Przegldetapw1;
    QMenu* Edycja1;
    QAction* Cofnij1;
    QAction* Ponw1;
    QAction* Wytnij1;
    QAction* Kopiuj1;
    QAction* Wklej1;
    QAction* Skasuj1;
    QMenu* Opcje1;
    QAction* Siatka1;
    QAction* Generator1;
    QMenu* Skalawidoku1;
    QActionGroup* SkaleWidoku; // the items "25 %" to "200 %", one checked
    QMenu* Narzedzia1;         // the drawing modes of the right button

    QLabel* Label3;
    MapView* DG1;
    QLabel* LPlik;
    QLabel* LEtap;
    QLabel* Label1;
    QLabel* LPos;

    EditorStatusBar* StatusBar1; // remarks, the stage's counts and the drawing mode
    StageCounts* Liczniki;       // the counts shown in StatusBar1->LLiczniki
    // "Problemy etapu" and "Przegląd etapów", made when first shown.
    StageProblems* ProblemyEtapu = nullptr;
    StageOverview* PrzegladEtapow = nullptr;

    StageFileDialog* OpenDialog1;
    StageFileDialog* SaveDialog1;

    // The text drawn over the view while the generator fills the stage.
    static constexpr const char* NapisGeneracji = "Trwa generacja, proszę czekać...";

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildScaleMenu();
    void buildPanel();
    void followWorkflow();
    void centreOnScreen();

    void FormShow();
    void FormClose();
    void redraw(const krelwin::ZapisanePola& cells);
    void redrawChanged(const ZmianyPol& changes);
    // Runs a cell edit through the history and redraws every cell it wrote.
    void editCells(const std::function<krelwin::ZapisanePola()>& edit);
    void updateUndoActions();
    // The menus, the view and the status labels as the workflow's file state says.
    void showFileState();
    // The view takes the stage's size (Wys + 2 rows, then Szer + 2 columns) and is repainted.
    void showWholeStage();

    FileWorkflow& workflow_;
    EditorState& stan_;

    QWidget* ToolBar1;
    MainPanel* Panel1;
    DrawingControls* Rysowanie; // the drawing modes, the toolbar's keys and the picker

    bool shownBefore_ = false;
};
