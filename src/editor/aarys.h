// The main window: toolbar of tools, menus, introductory labels, status line and the map view
// DG1 that shows the stage in memory. The editing state it works on (the stage, the block
// clipboard, the current tool, the pseudo-random source, the current file and stage name) is
// the EditorState the forms share; the status labels LPlik and LEtap show the file and the
// name, LEtap cut to its place.
#pragma once

#include "Forms.h"
#include "MapView.h"
#include "UndoCommands.h"
#include "editing.h"
#include "generator.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>

class EditorState;
class QAction;
class QActionGroup;
class QLabel;
class StageFileDialog;
class StageFileWatcher;
class QMenu;
class QToolButton;
class QUndoStack;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int ToolCount = 14; // ToolButton1 .. ToolButton14, the last the empty tool

    explicit TForm1(EditorState& stan);
    ~TForm1() override;

    // Draws cell [column][row] of the stage into the map view: the view repaints just that
    // cell, through DG1DrawCell.
    void RysujPole(int column, int row);
    // The map view's selection as the editing operations take it.
    krelwin::Zaznaczenie zaznaczenie() const;

    // Tools.
    void ToolButton1Click() { wybierzNarzedzie(1); }
    void ToolButton2Click() { wybierzNarzedzie(2); }
    void ToolButton3Click() { wybierzNarzedzie(3); }
    void ToolButton4Click() { wybierzNarzedzie(4); }
    void ToolButton5Click() { wybierzNarzedzie(5); }
    void ToolButton6Click() { wybierzNarzedzie(6); }
    void ToolButton7Click() { wybierzNarzedzie(7); }
    void ToolButton8Click() { wybierzNarzedzie(8); }
    void ToolButton9Click() { wybierzNarzedzie(9); }
    void ToolButton10Click() { wybierzNarzedzie(10); }
    void ToolButton11Click() { wybierzNarzedzie(11); }
    void ToolButton12Click() { wybierzNarzedzie(12); }
    void ToolButton13Click() { wybierzNarzedzie(13); }
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
    void Zapisz1Click();
    void Koniec1Click();
    void Nowyetap1Click();
    void Wybierzetap1Click();
    void Parametryetapu1Click();
    void Zapiszjako1Click();
    void Siatka1Click();
    void Generator1Click();
    // An item of "Skala widoku": the map view at `percent`.
    void SkalaClick(int percent);

    // The history of changes to the stage in memory behind "Cofnij" and "Ponów". Its clean
    // state marks the stage as it was last read from or written to the file.
    QUndoStack* Historia;
    // Whether the stage in memory differs from what was last read from or written to the file
    // (a change undone back to that state counts as none).
    bool hasUnsavedChanges() const;
    // Runs a command; whatever it changes of the whole stage (cells, parameters, name) becomes
    // one step of the history. A load or a write within it closes the step at that point.
    void recordStageChanges(const std::function<void()>& command);
    // The stage in memory with its name, as a whole-stage step keeps it.
    StanEtapu stanEtapu() const;
    // After a whole stage was put back: the view takes its size and is repainted whole.
    void showWholeStage();
    // The map view takes the stage's size: Wys + 2 rows, then Szer + 2 columns.
    void sizeViewToStage();
    // Steps 2 to 7 of "Generator map", after its dialog: the interior filled from the shares.
    void generujMape(const krelwin::Udzialy& udzialy);

    // Enables what a created or opened file makes available ("E&tapy", "&Edycja",
    // "Generator map"), and shows the map view and the status labels.
    void showStageEditing();

    std::array<QToolButton*, ToolCount> ToolButtons{}; // ToolButton1 .. ToolButton14

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

    QLabel* Label3;
    MapView* DG1;
    QLabel* LPlik;
    QLabel* LEtap;
    QLabel* Label1;
    QLabel* LPos;

    StageFileDialog* OpenDialog1;
    StageFileDialog* SaveDialog1;

    // The text drawn over the view while the generator fills the stage.
    static constexpr const char* NapisGeneracji = "Trwa generacja, proszę czekać...";

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void buildMenus();
    void buildScaleMenu();
    void buildPanel();
    void buildIntroLabels();
    void buildStatusLabels();
    void layoutPanel();
    void centreOnScreen();

    void FormShow();
    void FormClose();
    void wybierzNarzedzie(int buttonNumber);
    void redraw(const krelwin::ZapisanePola& cells);
    // Runs a cell edit, which returns the cells it wrote, and records the cells it changed as
    // one step of the history (none when it changed nothing). Returns the cells written.
    krelwin::ZapisanePola editCells(const std::function<krelwin::ZapisanePola()>& edit);
    // Ends the step of the whole-stage change in progress, if the stage changed.
    void recordPendingStageChange();
    // The stage in memory is what the file holds now (after a load or a write), or holds
    // nothing to lose (after "Nowy").
    void markNoUnsavedChanges();
    void updateUndoActions();
    // Asked before the window closes with unsaved changes; true to close.
    bool closeWithoutSaving();

    // The status line follows the current file and stage name.
    void showBiezacyPlik(const QString& path);
    void showBiezacyEtap();

    // BiezacyPlik as the file system names it.
    std::string sciezkaPliku() const;
    // The loaded stage's parameters through the parameters dialog's fields: clamped, and the
    // view sized to them.
    void przeprowadzPrzezDialog();
    // Appends the stage in memory under `name` and makes the appended stage the selected item.
    void dopiszEtap(const QString& name);
    // A stage position of the list with the name listed there, which the file must still hold
    // at that position when the stage is written over it.
    struct MiejsceZapisu {
        int index;
        QString listed;
    };
    // Writes the stage in memory under `name` over the listed stage.
    void zapiszNaPozycji(const MiejsceZapisu& miejsce, const QString& name);
    // Where "Zapisz jako" writes the stage under `name`: a listed stage, AppendIndex, or
    // nothing when the user declines to replace another stage.
    std::optional<MiejsceZapisu> miejsceZapisuJako(const QString& name);
    // The list follows a change of the current file made by another program.
    void plikZmienionyZZewnatrz();
    // "Otwórz" from the path on: both reads first, then the list, the stage and the view.
    void otworzPlik(const QString& chosen);
    void showStatusLabels();

    EditorState& stan_;

    QWidget* ToolBar1;
    QWidget* Panel1;
    QLabel* Label6;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label5;

    // The stage as it was when the whole-stage change in progress began; empty outside one.
    std::optional<StanEtapu> stageBeforeCommand_;

    bool shownBefore_ = false;

    StageFileWatcher* watcher_ = nullptr;
};
