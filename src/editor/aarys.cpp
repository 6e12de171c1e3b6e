#include "aarys.h"

#include "CellRenderer.h"
#include "DialogHelpers.h"
#include "EditorState.h"
#include "FileCopy.h"
#include "FileDialogs.h"
#include "FileWatcher.h"
#include "GenLos.h"
#include "ListaE.h"
#include "ParaEtap.h"
#include "Scale.h"
#include "TextCodec.h"
#include "TileSet.h"
#include "errors.h"
#include "stage_file.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 554;
constexpr int ToolBarHeight = 39;
constexpr int PanelHeight = 376;
constexpr int ToolButtonWidth = 38;
constexpr int ToolButtonHeight = 35;
// Steps kept by "Cofnij". A cell step costs about a hundred bytes, a whole-stage step about
// 7 KB, so even a history of nothing but generator runs stays near 7 MB.
constexpr int UndoLimit = 1000;

// The tool each button selects, ToolButton1 first, with its hint; the last is the empty tool,
// which has none. Button k shows tile k - 1.
struct ToolButtonRow {
    char kod;
    const char* hint;
};
namespace kod = krelwin::kod;
constexpr std::array<ToolButtonRow, TForm1::ToolCount> ToolButtonRows{{
    {kod::Start, "Pozycja startowa"},
    {kod::Diament, "Diament"},
    {kod::Ziemia, "Ziemia"},
    {kod::Kamien, "Kamień"},
    {kod::Nit, "Nit"},
    {kod::MotylPrawo, "Motyl"},
    {kod::PotworLewo, "Potwór"},
    {kod::Mur, "Mur"},
    {kod::DiamentowyMur, "Diamentowy mur"},
    {kod::MurRozszerzalny, "Mur rozszerzalny"},
    {kod::LawaRosnaca, "Lawa rosnąca"},
    {kod::LawaPrzepuszczajaca, "Lawa przepuszczająca"},
    {kod::Wyjscie, "Wyjście"},
    {kod::Pusty, nullptr},
}};

// A tool button whose pressed look is set by the program alone, never by the click itself.
class ToolButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void nextCheckState() override {}
};

QLabel* makeIntroLabel(const QString& text, int height, int pixelSize, const QColor& colour,
                       QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    // The height laid out for it; layoutPanel gives more where this system's font needs it.
    label->setMinimumHeight(height);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

QFont windowFont() {
    return dialogFont();
}

} // namespace

TForm1::TForm1(EditorState& stan) : stan_(stan) {
    setWindowTitle(QStringLiteral("Krelwin Konstruktor w.1.02."));
    setFont(windowFont());
    Historia = new QUndoStack(this);
    Historia->setUndoLimit(UndoLimit);
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
    buildToolBar();
    buildPanel();
    column->addWidget(ToolBar1);
    column->addWidget(Panel1, 1);
    setCentralWidget(client);

    OpenDialog1 = new StageFileDialog(StageFileDialog::Mode::Open, this);
    SaveDialog1 = new StageFileDialog(StageFileDialog::Mode::Save, this);

    watcher_ = new StageFileWatcher(this);
    connect(watcher_, &StageFileWatcher::changed, this,
            [this] { runHandler(this, [this] { plikZmienionyZZewnatrz(); }); });
    connect(&stan_, &EditorState::biezacyPlikChanged, this, &TForm1::showBiezacyPlik);
    connect(&stan_, &EditorState::biezacyEtapChanged, this, &TForm1::showBiezacyEtap);

    resize(ClientWidth, menuBar()->sizeHint().height() + ToolBarHeight + PanelHeight);
    centreOnScreen();
}

// The history goes first: clearing it on the way out updates "Cofnij" and "Ponów", which must
// still exist then.
TForm1::~TForm1() {
    delete Historia;
}

void TForm1::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// --- layout -----------------------------------------------------------------------------

void TForm1::buildToolBar() {
    ToolBar1 = new QWidget;
    ToolBar1->setFixedHeight(ToolBarHeight);
    ToolBar1->setAutoFillBackground(true);
    QPalette face = ToolBar1->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    ToolBar1->setPalette(face);
    const krelwin::render::TileSet& tiles = krelwin::render::TileSet::builtIn();
    for (int index = 0; index < ToolCount; ++index) {
        auto* button = new ToolButton(ToolBar1);
        button->setGeometry(index * ToolButtonWidth, 2, ToolButtonWidth, ToolButtonHeight);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(krelwin::render::TileSize, krelwin::render::TileSize));
        if (tiles.hasImage(index))
            button->setIcon(QIcon(QPixmap::fromImage(tiles.image(index))));
        if (ToolButtonRows[index].hint != nullptr)
            button->setToolTip(QString::fromUtf8(ToolButtonRows[index].hint));
        const int number = index + 1;
        connect(button, &QToolButton::clicked, this, [this, number] {
            runHandler(this, [this, number] {
                if (number == ToolCount)
                    ToolButton14Click();
                else
                    wybierzNarzedzie(number);
            });
        });
        ToolButtons[index] = button;
    }
}

void TForm1::buildMenus() {
    const auto item = [this](QMenu* menu, const char* caption, void (TForm1::*handler)()) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        if (handler != nullptr)
            connect(action, &QAction::triggered, this,
                    [this, handler] { runHandler(this, [this, handler] { (this->*handler)(); }); });
        return action;
    };
    // A command that can replace or change the whole stage: what it changes is one step of
    // the history, also when an error stops it half-way.
    const auto stageItem = [this](QMenu* menu, const char* caption, void (TForm1::*handler)()) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        connect(action, &QAction::triggered, this, [this, handler] {
            recordStageChanges(
                [this, handler] { runHandler(this, [this, handler] { (this->*handler)(); }); });
        });
        return action;
    };
    QMenuBar* MainMenu1 = menuBar();
    Plik1 = MainMenu1->addMenu(QStringLiteral("&Plik"));
    Nowy1 = stageItem(Plik1, "Nowy", &TForm1::Nowy1Click);
    Otwrz1 = stageItem(Plik1, "Otwórz", &TForm1::Otwrz1Click);
    Zapisz1 = item(Plik1, "Zapisz", &TForm1::Zapisz1Click);
    Plik1->addSeparator();
    Koniec1 = item(Plik1, "Wyjście", &TForm1::Koniec1Click);

    Etapy1 = MainMenu1->addMenu(QStringLiteral("E&tapy"));
    Nowyetap1 = stageItem(Etapy1, "Nowy etap", &TForm1::Nowyetap1Click);
    Wybierzetap1 = stageItem(Etapy1, "Wybierz etap", &TForm1::Wybierzetap1Click);
    Parametryetapu1 = stageItem(Etapy1, "Parametry etapu", &TForm1::Parametryetapu1Click);
    Zapiszjako1 = item(Etapy1, "Zapisz jako", &TForm1::Zapiszjako1Click);

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
    Generator1 = stageItem(Opcje1, "Generator map", &TForm1::Generator1Click);
    buildScaleMenu();

    Zapisz1->setEnabled(false);
    Etapy1->menuAction()->setEnabled(false);
    Edycja1->menuAction()->setEnabled(false);
    Generator1->setEnabled(false);

    // A shortcut acts only through an enabled item, and an item only where its menu can be
    // reached: "&Edycja" is disabled until a file is created or opened.
    connect(Historia, &QUndoStack::canUndoChanged, this, &TForm1::updateUndoActions);
    connect(Historia, &QUndoStack::canRedoChanged, this, &TForm1::updateUndoActions);
    connect(Edycja1->menuAction(), &QAction::enabledChanged, this, &TForm1::updateUndoActions);
    updateUndoActions();
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

void TForm1::updateUndoActions() {
    const bool reachable = Edycja1->menuAction()->isEnabled();
    Cofnij1->setEnabled(reachable && Historia->canUndo());
    Ponw1->setEnabled(reachable && Historia->canRedo());
}

void TForm1::buildPanel() {
    Panel1 = new QWidget;
    Panel1->setAutoFillBackground(true);
    QPalette face = Panel1->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    face.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(face);
    buildIntroLabels();
    // Created after the introductory labels so that, once shown, it lies over them.
    DG1 = new MapView(Panel1);
    DG1->setGridLineWidth(1);
    DG1->hide();
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
        for (QAction* action : SkaleWidoku->actions())
            if (action->data().toInt() == percent)
                action->setChecked(true);
    });
    buildStatusLabels();
    Panel1->installEventFilter(this);
}

void TForm1::buildIntroLabels() {
    const QColor navy(0, 0, 128);
    const QColor green(0, 128, 0);
    Label6 = makeIntroLabel(QString(), 28, 11, Qt::black, Panel1);
    Label2 = makeIntroLabel(QStringLiteral("Edytor napisał zespół projektu Krelwin"), 24, 13, navy,
                            Panel1);
    Label3 = makeIntroLabel(QString::fromUtf8(krelwin::ApplicationTitle), 36, 19, green, Panel1);
    Label4 = makeIntroLabel(QStringLiteral("Program jest darmowy.\n"
                                           "To edytor map do gry Krelwin.\n"
                                           "Autorem gry jest zespół projektu Krelwin."),
                            80, 13, Qt::black, Panel1);
    Label5 = makeIntroLabel(QStringLiteral("Etapy zapisuje się w plikach z rozszerzeniem .map.\n"
                                           "Gra otwiera plik podany jako parametr wywołania,\n"
                                           "na przykład: krelwin Plan01.map"),
                            48, 13, Qt::black, Panel1);
}

void TForm1::buildStatusLabels() {
    LPlik = new QLabel(stan_.BiezacyPlik(), Panel1);
    LEtap = new QLabel(shownName(stan_.BiezacyEtap()), Panel1);
    Label1 = new QLabel(QStringLiteral("Poz:"), Panel1);
    LPos = new QLabel(QStringLiteral("x,y"), Panel1);
    QFont bold = LPos->font();
    bold.setBold(true);
    LPos->setFont(bold);
    for (QLabel* label : {LPlik, LEtap, Label1, LPos})
        label->hide();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::Resize)
        layoutPanel();
    return QMainWindow::eventFilter(watched, event);
}

// Lays Panel1 out as at its first size of 554 x 376: the introductory labels stacked at the
// top over the full width, the map view following all four sides, the status labels following
// the bottom (LPlik the left side, the others the right side).
void TForm1::layoutPanel() {
    const int width = Panel1->width();
    const int height = Panel1->height();
    int top = 0;
    for (QLabel* label : {Label6, Label2, Label3, Label4, Label5}) {
        const int height = std::max(label->minimumHeight(), label->sizeHint().height());
        label->setGeometry(0, top, width, height);
        top += height;
    }
    DG1->setGeometry(4, 4, width - (ClientWidth - 545), height - (PanelHeight - 356));
    const int statusTop = height - (PanelHeight - 362);
    const int lineHeight = LPos->sizeHint().height();
    const int label1Left = width - (ClientWidth - 490);
    const int lposLeft = width - (ClientWidth - 514);
    Label1->setGeometry(label1Left, statusTop, lposLeft - label1Left, lineHeight);
    LPos->setGeometry(lposLeft, statusTop, width - lposLeft, lineHeight);
    // The stage name grows to the left when it is longer than its place, so that it is seen
    // whole, up to two thirds of the line; a longer one is cut with an ellipsis. The file path
    // takes what remains left of it.
    const int etapRight = label1Left - 4;
    const int etapWidest = std::max(0, (etapRight - 8) * 2 / 3);
    LEtap->setText(shownName(stan_.BiezacyEtap()));
    if (LEtap->sizeHint().width() > etapWidest)
        LEtap->setText(LEtap->fontMetrics().elidedText(LEtap->text(), Qt::ElideRight,
                                                       etapWidest - 2 * LEtap->margin()));
    const int etapLeft =
        std::min(width - (ClientWidth - 374), etapRight - LEtap->sizeHint().width());
    LEtap->setGeometry(etapLeft, statusTop, etapRight - etapLeft, lineHeight);
    LPlik->setGeometry(8, statusTop, std::max(0, etapLeft - 8 - 8), lineHeight);
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
    stan_.etap.plansza.fillWithRivets();
    Form2->ParametryZDialogu();
    stan_.Narzedzie = krelwin::kod::Pusty;
    stan_.ZrodloLosowe.UstawZiarno();
    DG1->setPenColor(Qt::black);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (hasUnsavedChanges() && !closeWithoutSaving()) {
        event->ignore();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

bool TForm1::closeWithoutSaving() {
    return askYesNo(this, QStringLiteral("Etap „%1” ma niezapisane zmiany. Zakończyć bez "
                                         "zapisywania?")
                              .arg(shownName(stan_.BiezacyEtap(), MessageNameLength)));
}

void TForm1::FormClose() {
    DG1->hide();
}

// --- current file and stage -------------------------------------------------------------

void TForm1::showBiezacyPlik(const QString& path) {
    LPlik->setText(path);
    layoutPanel();
    watcher_->watch(path);
}

void TForm1::showBiezacyEtap() {
    layoutPanel(); // shows it, cut to its place
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

void TForm1::showWholeStage() {
    sizeViewToStage();
    DG1->repaintAll();
}

void TForm1::sizeViewToStage() {
    DG1->setRowCount(stan_.etap.parametry.Wys + 2);
    DG1->setColumnCount(stan_.etap.parametry.Szer + 2);
}

// --- history ----------------------------------------------------------------------------

// The core's edits report the cells they wrote but not what those held: a copy of the array
// taken before (6.7 KB, far below a microsecond) supplies it, and only changed cells are kept.
krelwin::ZapisanePola TForm1::editCells(const std::function<krelwin::ZapisanePola()>& edit) {
    const krelwin::Plansza before = stan_.etap.plansza;
    krelwin::ZapisanePola written = edit();
    std::vector<ZmianaPola> changes =
        CellEditCommand::changedCells(before, stan_.etap.plansza, written);
    if (!changes.empty())
        Historia->push(new CellEditCommand(stan_, *this, std::move(changes)));
    return written;
}

StanEtapu TForm1::stanEtapu() const {
    return {stan_.etap, stan_.BiezacyEtap()};
}

// Until a file is created or opened the view is hidden, and the stage in memory is a
// placeholder nobody has seen: replacing it is no step.
void TForm1::recordStageChanges(const std::function<void()>& command) {
    if (DG1->isHidden()) {
        command();
        return;
    }
    stageBeforeCommand_ = stanEtapu();
    command();
    recordPendingStageChange();
    stageBeforeCommand_.reset();
}

void TForm1::recordPendingStageChange() {
    if (!stageBeforeCommand_)
        return;
    StanEtapu now = stanEtapu();
    if (now == *stageBeforeCommand_)
        return;
    StanEtapu before = std::exchange(*stageBeforeCommand_, std::move(now));
    Historia->push(new WholeStageCommand(stan_, *this, std::move(before)));
}

// A change made so far in the running command becomes its own step first, so that the mark
// falls after it.
void TForm1::markNoUnsavedChanges() {
    recordPendingStageChange();
    Historia->setClean();
}

bool TForm1::hasUnsavedChanges() const {
    return !Historia->isClean();
}

void TForm1::Cofnij1Click() {
    Historia->undo();
}

void TForm1::Ponw1Click() {
    Historia->redo();
}

krelwin::Zaznaczenie TForm1::zaznaczenie() const {
    const MapView::Selection s = DG1->selection();
    return {s.left, s.top, s.right, s.bottom};
}

// --- tools ------------------------------------------------------------------------------

void TForm1::wybierzNarzedzie(int buttonNumber) {
    const char code = ToolButtonRows.at(buttonNumber - 1).kod;
    stan_.Narzedzie = stan_.Narzedzie == code ? krelwin::kod::Pusty : code;
    UstawNarzedzie();
}

void TForm1::ToolButton14Click() {
    stan_.Narzedzie = krelwin::kod::Pusty;
    UstawNarzedzie();
}

void TForm1::UstawNarzedzie() {
    for (int index = 0; index < ToolCount; ++index)
        ToolButtons[index]->setChecked(stan_.Narzedzie == ToolButtonRows[index].kod);
    const krelwin::Zaznaczenie wybrane = zaznaczenie();
    if (!wybrane.isSingleCell())
        redraw(editCells(
            [&] { return krelwin::fillSelection(stan_.etap, wybrane, stan_.Narzedzie); }));
}

void TForm1::DG1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
    LPos->setText(QStringLiteral("%1,%2").arg(DG1->currentRow()).arg(DG1->currentColumn()));
    if (button != Qt::RightButton)
        return;
    const krelwin::Zaznaczenie wybrane = zaznaczenie();
    if (!wybrane.isSingleCell()) {
        redraw(editCells(
            [&] { return krelwin::fillSelection(stan_.etap, wybrane, stan_.Narzedzie); }));
        return;
    }
    // A press where the view has no cell changes nothing.
    const std::optional<MapView::Cell> cell = DG1->cellAt(position);
    if (!cell)
        return;
    const krelwin::Pole pole{cell->column, cell->row};
    editCells([&] {
        return krelwin::paintCell(stan_.etap, pole, stan_.Narzedzie) ? krelwin::ZapisanePola{pole}
                                                                     : krelwin::ZapisanePola{};
    });
    RysujPole(cell->column, cell->row);
    DG1->setCurrentRow(cell->row);
    DG1->setCurrentColumn(cell->column);
}

void TForm1::DG1DblClick() {
    const MapView::Cell current = DG1->currentCell();
    const krelwin::Pole pole{current.column, current.row};
    editCells([&] {
        krelwin::turnCreatureAt(stan_.etap, pole);
        return krelwin::ZapisanePola{pole};
    });
    RysujPole(current.column, current.row);
}

// --- "&Edycja" --------------------------------------------------------------------------

void TForm1::Wytnij1Click() {
    redraw(editCells([&] { return stan_.Schowek.wytnij(stan_.etap.plansza, zaznaczenie()); }));
}

void TForm1::Kopiuj1Click() {
    stan_.Schowek.kopiuj(stan_.etap.plansza, zaznaczenie());
}

void TForm1::Wklej1Click() {
    redraw(editCells([&] {
        return stan_.Schowek.wklej(stan_.etap, {DG1->currentColumn(), DG1->currentRow()});
    }));
}

void TForm1::Skasuj1Click() {
    redraw(editCells([&] { return krelwin::Schowek::skasuj(stan_.etap.plansza, zaznaczenie()); }));
}

// --- menu commands ----------------------------------------------------------------------

void TForm1::showStageEditing() {
    Etapy1->menuAction()->setEnabled(true);
    Edycja1->menuAction()->setEnabled(true);
    Generator1->setEnabled(true);
    DG1->show();
}

void TForm1::showStatusLabels() {
    for (QLabel* label : {LPlik, LEtap, Label1, LPos})
        label->show();
}

std::string TForm1::sciezkaPliku() const {
    return QFile::encodeName(stan_.BiezacyPlik()).toStdString();
}

void TForm1::przeprowadzPrzezDialog() {
    Form2->ParametryDoDialogu();
    Form2->ParametryZDialogu();
}

// The list is read back from the file rather than extended by hand: the file may have held
// stages before (a "Nowy" over an existing file), or another program may have added some. The
// selected item must be the record just written, at the position the write found under its
// lock, for a later "Zapisz" to write into it.
void TForm1::dopiszEtap(const QString& name) {
    const std::string path = sciezkaPliku();
    const std::string bytes = krelwin::toFileBytes(name);
    const int position = krelwin::ZapiszEtap(path, bytes, krelwin::AppendIndex, stan_.etap);
    const std::vector<std::string> names = krelwin::CzytajListeEtapow(path);
    Form3->clearNames();
    Form3->appendFileNames(names);
    // Past the hundredth stage the list no longer reaches it; with nothing selected a later
    // "Zapisz" appends rather than writing over another stage.
    const bool listed = position >= 0 && std::size_t(position) < names.size() &&
                        names[std::size_t(position)] == bytes;
    Form3->selectIndex(listed ? position : -1);
}

// The file must still hold the listed name at that position: another program may have changed
// it since the list was read. Refused, the list is read again and the user told what became of
// the selection. Written, the item names what the file now holds there.
void TForm1::zapiszNaPozycji(const MiejsceZapisu& miejsce, const QString& name) {
    const int index = miejsce.index;
    try {
        krelwin::ZapiszEtap(sciezkaPliku(), krelwin::toFileBytes(name), index, stan_.etap,
                            krelwin::toFileBytes(miejsce.listed));
    } catch (const krelwin::FileChangedMessage& changed) {
        throw Form3->refusalAfterRereading(changed);
    }
    Form3->setItemName(index, name);
}

void TForm1::plikZmienionyZZewnatrz() {
    std::vector<std::string> names;
    try {
        names = krelwin::CzytajListeEtapow(sciezkaPliku());
    } catch (const std::exception&) {
        // Gone or unreadable for now: the list stays, and the next command that needs the file
        // says why.
        return;
    }
    if (Form3->holdsNames(names)) {
        return; // the editor's own writes end here: the list names what they wrote
    }
    const TForm3::Reread reread = Form3->replaceNames(names);
    if (reread.position >= 0 && !reread.kept) {
        throw krelwin::PlainMessage((QStringLiteral("Plik %1 został zmieniony przez inny program.")
                                         .arg(stan_.BiezacyPlik()) +
                                     QLatin1Char(' ') + TForm3::describe(reread))
                                        .toStdString());
    }
}

// Cancelled, it leaves the parameters dialog's file-name strip as it found it, and the current
// file with it: a later "Zapisz" still writes where it did.
void TForm1::Nowy1Click() {
    const QString plikBefore = Form2->fileName();
    const bool stripShownBefore = Form2->fileNameStripShown();
    Form2->setFileName(QStringLiteral("Plan01"));
    Form2->setFileNameStripShown(true);
    if (Form2->exec() != QDialog::Accepted) {
        Form2->setFileName(plikBefore);
        Form2->setFileNameStripShown(stripShownBefore);
        return;
    }
    Form2->ParametryZDialogu();
    // The new file takes the name typed in the dialog, in the working directory.
    const QString plik = Form2->fileName().isEmpty() ? QStringLiteral("Plan01") : Form2->fileName();
    stan_.setBiezacyPlik(plik + QStringLiteral(".map"));
    showStageEditing();
    Zapisz1->setEnabled(false);
    Form3->clearNames();
    Form3->setStageName(stan_.BiezacyEtap());
    stan_.etap.plansza.fillWithRivets();
    stan_.etap.clearInterior();
    DG1->repaintAll();
    showStatusLabels();
    markNoUnsavedChanges(); // a fresh stage holds nothing to lose yet
}

void TForm1::Otwrz1Click() {
    const std::optional<QString> chosen = OpenDialog1->Execute();
    if (chosen)
        otworzPlik(*chosen);
}

// As the dialog would have returned it: absolute, and the dialog's next start.
void TForm1::otworzZWierszaPolecen(const QString& path) {
    const QString chosen = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    OpenDialog1->setFileName(chosen);
    recordStageChanges([&] { runHandler(this, [&] { otworzPlik(chosen); }); });
}

// Both reads come before anything changes, so a missing or unreadable file is reported once
// and leaves the current file, the list, the stage and the menus as they were.
void TForm1::otworzPlik(const QString& chosen) {
    const std::string path = QFile::encodeName(chosen).toStdString();
    const std::vector<std::string> names = krelwin::CzytajListeEtapow(path);
    krelwin::Etap loaded = stan_.etap;
    krelwin::CzytajEtap(path, 0, loaded);
    if (names.empty())
        throw krelwin::RuntimeError("List index out of bounds (0)");

    stan_.setBiezacyPlik(chosen);
    Form3->clearNames();
    Form3->appendFileNames(names);
    stan_.etap = loaded;
    przeprowadzPrzezDialog();
    DG1->repaintAll();
    showStageEditing();
    Zapisz1->setEnabled(true);
    Form3->setStageName(Form3->itemText(0));
    Form3->selectIndex(0);
    stan_.setBiezacyEtap(Form3->stageName());
    showStatusLabels();
    markNoUnsavedChanges();
}

// The stage goes into the current file at the selected position; the chosen path receives a
// copy of the current file as it was before this write. A copy that fails is reported, and the
// stage is written all the same: the copy is a by-product, the write is what was asked for.
void TForm1::Zapisz1Click() {
    SaveDialog1->setFileName(stan_.BiezacyPlik());
    SaveDialog1->setReplacedWithoutAsking(stan_.BiezacyPlik());
    const std::optional<QString> chosen = SaveDialog1->Execute();
    if (!chosen)
        return;
    runHandler(this, [&] { kopiujPlik(stan_.BiezacyPlik(), *chosen); });
    const int index = Form3->selectedIndex();
    if (index >= 0)
        zapiszNaPozycji({index, Form3->itemText(index)}, Form3->stageName());
    else
        krelwin::ZapiszEtap(sciezkaPliku(), krelwin::toFileBytes(Form3->stageName()),
                            krelwin::AppendIndex, stan_.etap);
    markNoUnsavedChanges();
}

void TForm1::Koniec1Click() {
    close();
}

void TForm1::Nowyetap1Click() {
    Form2->setFileNameStripShown(false);
    if (Form2->exec() != QDialog::Accepted)
        return;
    // The cells are laid out for the size in force before the dialog; the new size follows.
    stan_.etap.plansza.fillWithRivets();
    stan_.etap.clearInterior();
    Form2->ParametryZDialogu();
    Form3->setStageName(stan_.BiezacyEtap()); // as typed in the parameters dialog
    dopiszEtap(Form3->stageName());
    stan_.setBiezacyEtap(Form3->stageName());
    markNoUnsavedChanges();
    Zapisz1->setEnabled(true);
    DG1->repaintAll();
}

// A stage that cannot be loaded leaves the stage still shown the current one: its selection,
// name field and name, so that a later "Zapisz" does not write it over the chosen record.
void TForm1::Wybierzetap1Click() {
    const QString biezacyEtapBefore = stan_.BiezacyEtap();
    Form3->setStageNameEditable(false);
    if (Form3->exec() != QDialog::Accepted)
        return;
    const int index = Form3->selectedIndex();
    if (index < 0) {
        // With nothing selected the list is read again from the file and no stage is loaded.
        const std::vector<std::string> names = krelwin::CzytajListeEtapow(sciezkaPliku());
        Form3->clearNames();
        Form3->appendFileNames(names);
    } else {
        try {
            krelwin::CzytajEtap(sciezkaPliku(), index, stan_.etap);
        } catch (...) {
            Form3->restoreStateWhenShown();
            stan_.setBiezacyEtap(biezacyEtapBefore);
            throw;
        }
        przeprowadzPrzezDialog();
        markNoUnsavedChanges();
    }
    sizeViewToStage();
    DG1->repaintAll();
}

void TForm1::Parametryetapu1Click() {
    Form2->setFileNameStripShown(false);
    if (Form2->exec() != QDialog::Accepted)
        return;
    Form2->ParametryZDialogu();
    stan_.etap.trimToSize();
}

// The stage written takes the name given, and its item becomes the selected one, so that list
// and file keep agreeing. Declined, nothing is written and the dialog counts as cancelled.
void TForm1::Zapiszjako1Click() {
    const QString biezacyEtapBefore = stan_.BiezacyEtap();
    Form3->setStageName(stan_.BiezacyEtap());
    Form3->setStageNameEditable(true);
    if (Form3->exec() != QDialog::Accepted)
        return;
    const QString name = Form3->stageName();
    const std::optional<MiejsceZapisu> target = miejsceZapisuJako(name);
    if (!target) {
        Form3->takeBackConfirmation();
        stan_.setBiezacyEtap(biezacyEtapBefore);
        return;
    }
    if (target->index == krelwin::AppendIndex) {
        dopiszEtap(name);
        stan_.setBiezacyEtap(name);
        markNoUnsavedChanges();
        Zapisz1->setEnabled(true);
        return;
    }
    zapiszNaPozycji(*target, name);
    markNoUnsavedChanges();
    Form3->selectIndex(target->index);
}

// The stage the dialog was shown on (its selected item) takes a name it already has, letter
// case ignored, without a question: that is saving it in its place. Another stage of that name
// is written over only when the user agrees, since names may repeat and the stage there would
// be lost. A name no stage has is appended.
// The name listed at the position is taken before the question: the list may be read again
// while the question waits, and the write must go to the stage the user was asked about.
std::optional<TForm1::MiejsceZapisu> TForm1::miejsceZapisuJako(const QString& name) {
    const auto named = [&](int index) {
        return Form3->itemText(index).compare(name, Qt::CaseInsensitive) == 0;
    };
    const int own = Form3->ZapamietanyIndeks;
    if (own >= 0 && own < Form3->nameCount() && named(own))
        return MiejsceZapisu{own, Form3->itemText(own)};
    for (int index = 0; index < Form3->nameCount(); ++index) {
        if (!named(index))
            continue;
        const MiejsceZapisu other{index, Form3->itemText(index)};
        const QString question =
            QStringLiteral("Etap nr %1 „%2” już istnieje. Zastąpić go?")
                .arg(QString::number(index + 1), shownName(other.listed, MessageNameLength));
        if (!askYesNo(this, question))
            return std::nullopt;
        return other;
    }
    return MiejsceZapisu{krelwin::AppendIndex, QString()};
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
    if (Form4->exec() != QDialog::Accepted)
        return;
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
    krelwin::GenerujPlansze(stan_.etap, stan_.ZrodloLosowe, udzialy);
    DG1->viewport()->repaint();
    DG1->viewport()->setCursor(Qt::PointingHandCursor);
}
