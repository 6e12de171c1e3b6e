#include "StageOverview.h"

#include "EditorState.h"
#include "FileWorkflow.h"
#include "StageOverviewDelegate.h"
#include "StageOverviewModel.h"
#include "StageOverviewView.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

StageOverview::StageOverview(FileWorkflow& workflow, QWidget* parent)
    : PlacedDialog(parent), workflow_(workflow), model_(new StageOverviewModel(this)) {
    buildLayout();
    buildPopupMenu();
    followWorkflow();
}

void StageOverview::buildLayout() {
    setWindowTitle(QStringLiteral("Przegląd etapów"));
    Obrazy = new StageOverviewView;
    Obrazy->setModel(model_);
    Obrazy->setItemDelegate(new StageOverviewDelegate(Obrazy));
    Obrazy->setSpacing(6);
    Obrazy->installEventFilter(this);
    LLiczba = new QLabel;
    auto* hint = new QLabel(QStringLiteral("Dwukrotne kliknięcie wczytuje etap do edycji; "
                                           "przeciągnięcie obrazka przenosi etap w pliku."));
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Zamknij"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Obrazy, 1);
    layout->addWidget(LLiczba);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    setSizeGripEnabled(true);
    // Five pictures a line and three lines, as far as the screen allows.
    QSize size(960, 720);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

void StageOverview::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    const auto item = [this](const QString& caption, void (StageOverview::*handler)()) {
        return addHandlerItem(PopupMenu1, caption, this, handler);
    };
    Wybierz1 = item(QStringLiteral("Wybierz etap"), &StageOverview::Wybierz1Click);
    PopupMenu1->setDefaultAction(Wybierz1);
    PopupMenu1->addSeparator();
    Przesuwyej1 = item(QStringLiteral("Przesuń wyżej"), &StageOverview::Przesuwyej1Click);
    Przesuniej1 = item(QStringLiteral("Przesuń niżej"), &StageOverview::Przesuniej1Click);
    Powiel1 = item(QStringLiteral("Powiel"), &StageOverview::Powiel1Click);
    Usu1 = item(QStringLiteral("Usuń…"), &StageOverview::Usu1Click);
    Obrazy->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Obrazy, &QWidget::customContextMenuRequested, this,
            [this](QPoint point) { runHandler(this, [&] { ObrazyContextPopup(point); }); });
}

void StageOverview::followWorkflow() {
    connect(Obrazy, &StageOverviewView::rowsShown, model_, &StageOverviewModel::showRows);
    connect(Obrazy, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        runHandler(this, [&] { ObrazyDblClick(index.row()); });
    });
    connect(Obrazy, &StageOverviewView::stageDropped, this,
            [this](int from, int to) { runHandler(this, [&] { ObrazyDrop(from, to); }); });
    connect(model_, &StageOverviewModel::readingFinished, this, &StageOverview::showReading);
    connect(&workflow_, &FileWorkflow::stageFileChanged, this, &StageOverview::followFile);
    connect(&workflow_.stan(), &EditorState::biezacyPlikChanged, this, &StageOverview::followFile);
    connect(&workflow_.list(), &StageListModel::selectionChanged, model_,
            &StageOverviewModel::setMarked);
}

void StageOverview::run() {
    exec();
}

void StageOverview::showEvent(QShowEvent* event) {
    PlacedDialog::showEvent(event);
    model_->setMarked(workflow_.list().selected());
    showFile();
}

void StageOverview::hideEvent(QHideEvent* event) {
    model_->stopDrawing();
    PlacedDialog::hideEvent(event);
}

// Hidden, the dialog reads nothing: it looks at the file again when it is shown.
void StageOverview::followFile() {
    if (isVisible())
        showFile();
}

void StageOverview::showFile() {
    const QString path = workflow_.stan().BiezacyPlik();
    setWindowTitle(QStringLiteral("Przegląd etapów – %1").arg(QFileInfo(path).fileName()));
    model_->follow(path);
    if (model_->reading())
        LLiczba->setText(QStringLiteral("Czytanie pliku…"));
}

void StageOverview::showReading() {
    if (!model_->problem().isEmpty()) {
        LLiczba->setText(QStringLiteral("Nie można odczytać pliku: %1").arg(model_->problem()));
        return;
    }
    LLiczba->setText(QStringLiteral("Etapów w pliku: %1")
                         .arg(QLocale(QLocale::Polish).toString(model_->rowCount())));
    // The pictures were dropped with the old reading: those on screen are drawn anew.
    if (const auto shown = Obrazy->rowsOnScreen())
        model_->showRows(shown->first, shown->second);
    const int rows = model_->rowCount();
    if (const std::optional<int> row = std::exchange(currentAfterReading_, std::nullopt);
        row && rows > 0) {
        const QModelIndex current = model_->index(std::clamp(*row, 0, rows - 1), 0);
        Obrazy->setCurrentIndex(current);
        Obrazy->scrollTo(current);
    }
}

int StageOverview::currentRow() const {
    const QModelIndex current = Obrazy->currentIndex();
    return current.isValid() ? current.row() : -1;
}

ShownStage StageOverview::shownStage(int row) const {
    return ShownStage{row, model_->name(row)};
}

void StageOverview::showAfterCommand(int row) {
    currentAfterReading_ = row;
    showFile();
}

// --- what the user does here -------------------------------------------------------------

void StageOverview::ObrazyDblClick(int row) {
    if (row < 0 || row >= model_->rowCount())
        return;
    if (workflow_.wybierzEtapNr(row, model_->name(row)))
        accept();
    else
        showFile(); // a refusal may mean the file has changed
}

void StageOverview::ObrazyDrop(int from, int to) {
    workflow_.pack().przesunEtap(shownStage(from), to);
    showAfterCommand(to);
}

void StageOverview::ObrazyContextPopup(QPoint viewportPoint) {
    const QModelIndex index = Obrazy->indexAt(viewportPoint);
    if (!index.isValid())
        return;
    Obrazy->setCurrentIndex(index);
    Przesuwyej1->setEnabled(index.row() > 0);
    Przesuniej1->setEnabled(index.row() + 1 < model_->rowCount());
    PopupMenu1->exec(Obrazy->viewport()->mapToGlobal(viewportPoint));
}

void StageOverview::Wybierz1Click() {
    ObrazyDblClick(currentRow());
}

void StageOverview::Przesuwyej1Click() {
    const int row = currentRow();
    if (row > 0)
        ObrazyDrop(row, row - 1);
}

void StageOverview::Przesuniej1Click() {
    const int row = currentRow();
    if (row >= 0 && row + 1 < model_->rowCount())
        ObrazyDrop(row, row + 1);
}

// The copy, right after its stage, becomes the current picture.
void StageOverview::Powiel1Click() {
    const int row = currentRow();
    if (row < 0)
        return;
    workflow_.pack().powielEtap(shownStage(row));
    showAfterCommand(row + 1);
}

// The stage that takes the deleted one's place becomes the current picture.
void StageOverview::Usu1Click() {
    const int row = currentRow();
    if (row < 0)
        return;
    workflow_.pack().usunEtap(shownStage(row));
    showAfterCommand(row);
}

// Enter chooses the current stage and Delete deletes it, as their menu items do.
bool StageOverview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Obrazy && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            runHandler(this, [this] { Wybierz1Click(); });
            return true;
        }
        if (key->matches(QKeySequence::Delete)) {
            runHandler(this, [this] { Usu1Click(); });
            return true;
        }
    }
    return PlacedDialog::eventFilter(watched, event);
}
