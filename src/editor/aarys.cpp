#include "aarys.h"

#include "CellRenderer.h"
#include "DialogHelpers.h"
#include "DrawingControls.h"
#include "EditorState.h"
#include "EditorStatusBar.h"
#include "FileDialogs.h"
#include "FileWorkflow.h"
#include "Forms.h"
#include "GenLos.h"
#include "ListaE.h"
#include "MainPanel.h"
#include "ParaEtap.h"
#include "Picker.h"
#include "RecoveryKeeper.h"
#include "Scale.h"
#include "StageCounts.h"
#include "StageOverview.h"
#include "StageProblems.h"
#include "TileSet.h"
#include "errors.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

TForm1::TForm1(FileWorkflow& workflow) : workflow_(workflow), stan_(workflow.stan()) {
    setWindowTitle(QStringLiteral("Krelwin Konstruktor w.1.02."));
    setFont(dialogFont());
    buildMenus();
    // The window's black lies under the toolbar and the panel; the menu bar keeps the system
    // colours.
    auto* client = new QWidget(this);
    QPalette black = client->palette();
    black.setColor(QPalette::Window, Qt::black);
    client->setPalette(black);
    client->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    ToolBar1 = buildToolBar(ToolButtons);
    for (int number = 1; number <= ToolCount; ++number) {
        connect(ToolButtons[std::size_t(number - 1)], &QToolButton::clicked, this,
                [this, number] { runHandler(this, [this, number] { ToolButtonClick(number); }); });
    }
    buildPanel();
    column->addWidget(ToolBar1);
    column->addWidget(Panel1, 1);
    setCentralWidget(client);
    StatusBar1 = new EditorStatusBar(this);
    setStatusBar(StatusBar1);
    Rysowanie = new DrawingControls(*this, workflow_);
    Narzedzia1 = Rysowanie->menu();
    menuBar()->addMenu(Narzedzia1); // after "&Opcje"
    Liczniki = new StageCounts(workflow_, StatusBar1->LLiczniki, this);

    OpenDialog1 = new StageFileDialog(StageFileDialog::Mode::Open, this);
    SaveDialog1 = new StageFileDialog(StageFileDialog::Mode::Save, this);

    followWorkflow();
    resize(MainPanel::LaidOutWidth, menuBar()->sizeHint().height() + ToolBar1->height() +
                                        MainPanel::LaidOutHeight + StatusBar1->sizeHint().height());
    centreOnScreen();
}

void TForm1::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// --- layout -----------------------------------------------------------------------------

void TForm1::buildMenus() {
    const auto item = [this](QMenu* menu, const char* caption, void (TForm1::*handler)()) {
        return addHandlerItem(menu, QString::fromUtf8(caption), this, handler);
    };
    QMenuBar* MainMenu1 = menuBar();
    Plik1 = MainMenu1->addMenu(QStringLiteral("&Plik"));
    Nowy1 = item(Plik1, "Nowy", &TForm1::Nowy1Click);
    Otwrz1 = item(Plik1, "Otwórz", &TForm1::Otwrz1Click);
    Zapisz1 = item(Plik1, "Zapisz", &TForm1::Zapisz1Click);
    Plik1->addSeparator();
    Koniec1 = item(Plik1, "Wyjście", &TForm1::Koniec1Click);

    Etapy1 = MainMenu1->addMenu(QStringLiteral("E&tapy"));
    Nowyetap1 = item(Etapy1, "Nowy etap", &TForm1::Nowyetap1Click);
    Wybierzetap1 = item(Etapy1, "Wybierz etap", &TForm1::Wybierzetap1Click);
    Parametryetapu1 = item(Etapy1, "Parametry etapu", &TForm1::Parametryetapu1Click);
    Zapiszjako1 = item(Etapy1, "Zapisz jako", &TForm1::Zapiszjako1Click);
    Etapy1->addSeparator();
    Problemyetapu1 = item(Etapy1, "Problemy etapu", &TForm1::Problemyetapu1Click);
    Przegldetapw1 = item(Etapy1, "Przegląd etapów", &TForm1::Przegldetapw1Click);

    Edycja1 = MainMenu1->addMenu(QStringLiteral("&Edycja"));
    Cofnij1 = item(Edycja1, "Cofnij", &TForm1::Cofnij1Click);
    Cofnij1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Ponw1 = item(Edycja1, "Ponów", &TForm1::Ponw1Click);
    Ponw1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    Edycja1->addSeparator();
    Wytnij1 = item(Edycja1, "Wytnij", &TForm1::Wytnij1Click);
    Kopiuj1 = item(Edycja1, "Kopiuj", &TForm1::Kopiuj1Click);
    Wklej1 = item(Edycja1, "Wklej", &TForm1::Wklej1Click);
    Skasuj1 = item(Edycja1, "Skasuj", &TForm1::Skasuj1Click);

    Opcje1 = MainMenu1->addMenu(QStringLiteral("&Opcje"));
    Siatka1 = item(Opcje1, "Siatka", &TForm1::Siatka1Click);
    Siatka1->setCheckable(true);
    Siatka1->setChecked(true);
    Generator1 = item(Opcje1, "Generator map", &TForm1::Generator1Click);
    buildScaleMenu();

    Zapisz1->setEnabled(false);
    Etapy1->menuAction()->setEnabled(false);
    Edycja1->menuAction()->setEnabled(false);
    Generator1->setEnabled(false);
}

// "Skala widoku": one checked item, the view's scale. The scale is not kept between runs.
void TForm1::buildScaleMenu() {
    Skalawidoku1 = Opcje1->addMenu(QStringLiteral("Skala widoku"));
    SkaleWidoku = new QActionGroup(this); // exclusive: checking one unchecks the others
    for (const int percent : krelwin::render::Scale::Steps) {
        QAction* action = Skalawidoku1->addAction(QStringLiteral("%1 %").arg(percent));
        action->setCheckable(true);
        action->setChecked(percent == krelwin::render::Scale::Full);
        action->setData(percent);
        SkaleWidoku->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, percent] { runHandler(this, [this, percent] { SkalaClick(percent); }); });
    }
}

void TForm1::buildPanel() {
    Panel1 = new MainPanel;
    DG1 = Panel1->DG1;
    LPlik = Panel1->LPlik;
    LEtap = Panel1->LEtap;
    Label1 = Panel1->Label1;
    LPos = Panel1->LPos;
    Label3 = Panel1->Label3;
    DG1->setDrawCellHandler([this](QPainter& canvas, int column, int row, const QRect& rect) {
        DG1DrawCell(canvas, column, row, rect);
    });
    connect(DG1, &MapView::mousePressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position) {
                runHandler(this, [&] { DG1MouseDown(button, shift, position); });
            });
    connect(DG1, &MapView::doubleClicked, this,
            [this] { runHandler(this, [this] { DG1DblClick(); }); });
    // Ctrl + wheel changes the scale in the view; the menu shows it.
    connect(DG1, &MapView::scaleChanged, this, [this](int percent) {
        stan_.SkalaWidoku = percent;
        for (QAction* action : SkaleWidoku->actions())
            if (action->data().toInt() == percent)
                action->setChecked(true);
    });
}

// --- following the workflow -------------------------------------------------------------

void TForm1::followWorkflow() {
    connect(&workflow_, &FileWorkflow::fileStateChanged, this, &TForm1::showFileState);
    connect(&stan_, &EditorState::stageReplaced, this, &TForm1::showWholeStage);
    connect(&stan_, &EditorState::cellsChanged, this, &TForm1::redrawChanged);
    connect(&stan_, &EditorState::biezacyPlikChanged, Panel1, &MainPanel::showFileName);
    connect(&stan_, &EditorState::biezacyEtapChanged, Panel1, &MainPanel::showStageName);
    QUndoStack& history = workflow_.history().stack();
    connect(&history, &QUndoStack::canUndoChanged, this, &TForm1::updateUndoActions);
    connect(&history, &QUndoStack::canRedoChanged, this, &TForm1::updateUndoActions);
    updateUndoActions();
}

// Once a file is created or opened, "E&tapy", "&Edycja", "Generator map", the map view and
// the status labels stay; "Zapisz" waits for a file to write into.
void TForm1::showFileState() {
    const bool open = workflow_.fileOpen();
    Etapy1->menuAction()->setEnabled(open);
    Edycja1->menuAction()->setEnabled(open);
    Generator1->setEnabled(open);
    Zapisz1->setEnabled(workflow_.canSave());
    Panel1->showStageEditing(open);
    updateUndoActions();
}

// A shortcut acts only through an enabled item, and an item only where its menu can be
// reached: "&Edycja" is disabled until a file is created or opened.
void TForm1::updateUndoActions() {
    const bool reachable = Edycja1->menuAction()->isEnabled();
    Cofnij1->setEnabled(reachable && workflow_.history().stack().canUndo());
    Ponw1->setEnabled(reachable && workflow_.history().stack().canRedo());
}

void TForm1::showWholeStage() {
    DG1->setRowCount(stan_.etap.parametry.Wys + 2);
    DG1->setColumnCount(stan_.etap.parametry.Szer + 2);
    DG1->repaintAll();
}

// --- start and close --------------------------------------------------------------------

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownBefore_) {
        shownBefore_ = true;
        runHandler(this, [this] { FormShow(); });
    }
}

void TForm1::FormShow() {
    workflow_.start(Form2->ParametryZDialogu());
    stan_.Narzedzie = krelwin::kod::Pusty;
    stan_.ZrodloLosowe.UstawZiarno();
    DG1->setPenColor(Qt::black);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!workflow_.mayClose()) {
        event->ignore();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

void TForm1::FormClose() {
    DG1->hide();
}

// --- drawing ----------------------------------------------------------------------------

void TForm1::RysujPole(int column, int row) {
    DG1->repaintCell(column, row);
}

void TForm1::DG1DrawCell(QPainter& canvas, int column, int row, const QRect& rect) {
    krelwin::render::drawCell(canvas, DG1->tiles(), stan_.etap.plansza.at(column, row), rect);
}

void TForm1::redraw(const krelwin::ZapisanePola& cells) {
    for (const krelwin::Pole& pole : cells)
        RysujPole(pole.column, pole.row);
}

void TForm1::redrawChanged(const ZmianyPol& changes) {
    for (const ZmianaPola& zmiana : changes)
        RysujPole(zmiana.column, zmiana.row);
}

// Every cell the edit wrote is redrawn, also one that kept its code.
void TForm1::editCells(const std::function<krelwin::ZapisanePola()>& edit) {
    redraw(workflow_.history().recordCellEdit(edit));
}

krelwin::Zaznaczenie TForm1::zaznaczenie() const {
    const MapView::Selection s = DG1->selection();
    return {s.left, s.top, s.right, s.bottom};
}

// --- tools ------------------------------------------------------------------------------

void TForm1::ToolButtonClick(int buttonNumber) {
    if (buttonNumber == ToolCount) {
        ToolButton14Click();
        return;
    }
    // A creature picked facing another way shows this button pressed too, and switches off.
    const char code = toolButtonCode(std::size_t(buttonNumber - 1));
    stan_.Narzedzie = tools::toolbarCodeOf(stan_.Narzedzie) == code ? krelwin::kod::Pusty : code;
    UstawNarzedzie();
}

void TForm1::ToolButton14Click() {
    stan_.Narzedzie = krelwin::kod::Pusty;
    UstawNarzedzie();
}

void TForm1::UstawNarzedzie() {
    showPressedTool(ToolButtons, stan_.Narzedzie);
    const krelwin::Zaznaczenie wybrane = zaznaczenie();
    if (!wybrane.isSingleCell())
        editCells([&] { return krelwin::fillSelection(stan_.etap, wybrane, stan_.Narzedzie); });
}

// A right press starts the gesture of the drawing mode in force; with "Pędzel" a press without a
// move paints the cell under the mouse, or fills a selection of several cells.
void TForm1::DG1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position) {
    LPos->setText(QStringLiteral("%1,%2").arg(DG1->currentRow()).arg(DG1->currentColumn()));
    if (button == Qt::RightButton)
        Rysowanie->press(DG1->cellAt(position), shift);
}

void TForm1::DG1DblClick() {
    const MapView::Cell current = DG1->currentCell();
    const krelwin::Pole pole{current.column, current.row};
    editCells([&] {
        krelwin::turnCreatureAt(stan_.etap, pole);
        return krelwin::ZapisanePola{pole};
    });
}

// --- "&Edycja" --------------------------------------------------------------------------

void TForm1::Cofnij1Click() {
    workflow_.history().undo();
}

void TForm1::Ponw1Click() {
    workflow_.history().redo();
}

void TForm1::Wytnij1Click() {
    editCells([&] { return stan_.Schowek.wytnij(stan_.etap.plansza, zaznaczenie()); });
}

void TForm1::Kopiuj1Click() {
    stan_.Schowek.kopiuj(stan_.etap.plansza, zaznaczenie());
}

void TForm1::Wklej1Click() {
    editCells([&] {
        return stan_.Schowek.wklej(stan_.etap, {DG1->currentColumn(), DG1->currentRow()});
    });
}

void TForm1::Skasuj1Click() {
    editCells([&] { return krelwin::Schowek::skasuj(stan_.etap.plansza, zaznaczenie()); });
}

// --- menu commands: each shows its dialog and hands what was confirmed to the workflow -------

// Cancelled or declined, it leaves the parameters dialog's file-name strip as it found it, and
// the current file with it: a later "Zapisz" still writes where it did.
void TForm1::Nowy1Click() {
    const QString plikBefore = Form2->fileName();
    const bool stripShownBefore = Form2->fileNameStripShown();
    Form2->setFileName(QStringLiteral("Plan01"));
    Form2->setFileNameStripShown(true);
    if (Form2->exec() != QDialog::Accepted ||
        !workflow_.nowy(Form2->ParametryZDialogu(), Form2->fileName())) {
        Form2->setFileName(plikBefore);
        Form2->setFileNameStripShown(stripShownBefore);
    }
}

void TForm1::Otwrz1Click() {
    if (const std::optional<QString> chosen = OpenDialog1->Execute())
        workflow_.otworz(*chosen);
}

// As the dialog would have returned it: absolute, and the dialog's next start.
void TForm1::otworzZWierszaPolecen(const QString& path) {
    const QString chosen = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    OpenDialog1->setFileName(chosen);
    workflow_.otworz(chosen);
}

void TForm1::zacznijPrace(const std::optional<QString>& file) {
    if (Recovery->offerCopies()) // on a scale the view offers, whatever the copy said
        DG1->setScalePercent(krelwin::render::steppedScale(stan_.SkalaWidoku, 0));
    if (file)
        otworzZWierszaPolecen(*file);
}

void TForm1::Zapisz1Click() {
    SaveDialog1->setFileName(stan_.BiezacyPlik());
    SaveDialog1->setReplacedWithoutAsking(stan_.BiezacyPlik());
    if (const std::optional<QString> chosen = SaveDialog1->Execute())
        workflow_.zapisz(*chosen);
}

void TForm1::Koniec1Click() {
    close();
}

void TForm1::Nowyetap1Click() {
    Form2->setFileNameStripShown(false);
    if (Form2->exec() == QDialog::Accepted)
        workflow_.nowyEtap(Form2->ParametryZDialogu());
}

void TForm1::Wybierzetap1Click() {
    Form3->setStageNameEditable(false);
    if (Form3->exec() == QDialog::Accepted)
        workflow_.wybierzEtap();
}

void TForm1::Parametryetapu1Click() {
    Form2->setFileNameStripShown(false);
    if (Form2->exec() == QDialog::Accepted)
        workflow_.parametryEtapu(Form2->ParametryZDialogu());
}

void TForm1::Zapiszjako1Click() {
    workflow_.list().setNameField(stan_.BiezacyEtap());
    Form3->setStageNameEditable(true);
    if (Form3->exec() == QDialog::Accepted)
        workflow_.zapiszJako();
}

void TForm1::Problemyetapu1Click() {
    if (ProblemyEtapu == nullptr)
        ProblemyEtapu = new StageProblems(stan_, *Liczniki, DG1, this);
    ProblemyEtapu->run();
}

void TForm1::Przegldetapw1Click() {
    if (PrzegladEtapow == nullptr)
        PrzegladEtapow = new StageOverview(workflow_, this);
    PrzegladEtapow->run();
}

void TForm1::Siatka1Click() {
    // The action has toggled its check mark already.
    DG1->setGridLineWidth(Siatka1->isChecked() ? 1 : 0);
}

void TForm1::SkalaClick(int percent) {
    DG1->setScalePercent(percent);
}

// --- "Generator map" --------------------------------------------------------------------

void TForm1::Generator1Click() {
    if (Form4->exec() == QDialog::Accepted)
        generujMape(Form4->udzialy());
}

void TForm1::generujMape(const krelwin::Udzialy& udzialy) {
    DG1->viewport()->setCursor(Qt::WaitCursor);
    if (DG1->currentRow() != 1)
        DG1->setCurrentRow(1);
    if (DG1->currentColumn() != 1)
        DG1->setCurrentColumn(1);
    // The notice is painted once, at once, and is gone with the next paint of the view.
    DG1->setOverlayText(QString::fromUtf8(NapisGeneracji));
    DG1->viewport()->repaint();
    DG1->setOverlayText(QString());
    workflow_.history().recordStageChange(
        [&] { krelwin::GenerujPlansze(stan_.etap, stan_.ZrodloLosowe, udzialy); },
        EditHistory::Name::Kept);
    DG1->viewport()->repaint();
    DG1->viewport()->setCursor(Qt::PointingHandCursor);
}
