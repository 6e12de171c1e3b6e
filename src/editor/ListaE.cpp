#include "ListaE.h"

#include "EditorState.h"
#include "TextCodec.h"
#include "errors.h"
#include "stage_file.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int NameTypingLimit = 20;
// Where an item keeps its stage's whole name; the display text may be cut.
constexpr int WholeNameRole = Qt::UserRole;

// The list reports the user's own moves of the selection, by mouse or keyboard, apart from the
// program's: only the user's run ListBox1Click. It asks for an item's context menu on a right
// click on the item (which the press has selected) or the Menu key on the selected item.
class StageListBox : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void()> onUserSelect;
    std::function<void()> onDoubleClick;
    std::function<void(int row, QPoint globalPos)> onContextMenu;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QListWidget::mousePressEvent(event);
        if (itemAt(event->position().toPoint()) != nullptr && onUserSelect) {
            onUserSelect();
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QListWidget::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton && onDoubleClick) {
            onDoubleClick();
        }
    }
    // The window system asks for the menu before it passes on the Menu key, but not always (not
    // after a message box over the dialog, on X11): the key itself opens it then.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier) {
            event->accept();
            menuOnCurrentItem();
            return;
        }
        const int before = currentRow();
        QListWidget::keyPressEvent(event);
        if (currentRow() != before && onUserSelect) {
            onUserSelect();
        }
    }
    // A mouse's menu opens where the mouse is, the keyboard's over the selected item.
    void contextMenuEvent(QContextMenuEvent* event) override {
        event->accept();
        if (event->reason() != QContextMenuEvent::Mouse) {
            menuOnCurrentItem();
            return;
        }
        const QListWidgetItem* item = itemAt(event->pos());
        if (item != nullptr && onContextMenu) {
            onContextMenu(row(item), event->globalPos());
        }
    }

private:
    void menuOnCurrentItem() {
        const QListWidgetItem* item = currentItem();
        if (item != nullptr && onContextMenu) {
            onContextMenu(row(item), viewport()->mapToGlobal(visualItemRect(item).center()));
        }
    }
};

QPushButton* makeButton(const QString& text, QStyle::StandardPixmap image, int left,
                        QWidget* parent) {
    auto* button = new QPushButton(parent->style()->standardIcon(image), text, parent);
    button->setGeometry(left, 225, 105, 25);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TForm3::TForm3(EditorState& stan, QWidget* parent) : PlacedDialog(parent), stan_(stan) {
    buildLayout();
    buildPopupMenu();
    setTabOrder();
    connectHandlers();
}

void TForm3::buildLayout() {
    setWindowTitle(QStringLiteral("Etapy"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(dialogFont());
    setFixedSize(370, 256);

    Label1 = new QLabel(QStringLiteral("Nazwa etapu:"), this);
    Label1->move(8, 12);
    EEtap = new StageNameField(this);
    EEtap->setGeometry(80, 8, 121, 21);
    moveFieldsClearOfLabels({{Label1, EEtap}});
    krelwin::limitFileText(EEtap, krelwin::FileTextValidator::Kind::StageName, NameTypingLimit);
    Label1->setBuddy(EEtap);

    GroupBox1 = new QGroupBox(QStringLiteral("Lista dostępnych etapów"), this);
    GroupBox1->setGeometry(4, 36, 361, 177);
    ListBox1 = new StageListBox(GroupBox1);
    ListBox1->setGeometry(8, 20, 345, 149);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setSortingEnabled(false);
    ListBox1->setTextElideMode(Qt::ElideRight);
    ListBox1->setWordWrap(false);
    ListBox1->setUniformItemSizes(true);

    auto* panel = new QFrame(GroupBox1);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setGeometry(88, 72, 185, 41);
    panel->hide();
    Panel1 = panel;
    Label2 = new QLabel(QStringLiteral("Nazwa:"), Panel1);
    Label2->move(8, 16);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setGeometry(52, 12, 121, 21);
    krelwin::limitFileText(Edit1, krelwin::FileTextValidator::Kind::StageName, NameTypingLimit);
    Label2->setBuddy(Edit1);

    BitBtn3 =
        makeButton(QStringLiteral("Zmień nazwę"), QStyle::SP_FileDialogDetailedView, 32, this);
    BitBtn1 = makeButton(QStringLiteral("&Zatwierdź"), QStyle::SP_DialogOkButton, 145, this);
    BitBtn2 = makeButton(QStringLiteral("&Anuluj"), QStyle::SP_DialogCancelButton, 257, this);
}

void TForm3::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    const auto item = [this](const QString& caption, void (TForm3::*handler)()) {
        QAction* action = PopupMenu1->addAction(caption);
        connect(action, &QAction::triggered, this,
                [this, handler] { runHandler(this, [this, handler] { (this->*handler)(); }); });
        return action;
    };
    Przesuwyej1 = item(QStringLiteral("Przesuń wyżej"), &TForm3::Przesuwyej1Click);
    Przesuniej1 = item(QStringLiteral("Przesuń niżej"), &TForm3::Przesuniej1Click);
    Powiel1 = item(QStringLiteral("Powiel"), &TForm3::Powiel1Click);
    Usu1 = item(QStringLiteral("Usuń…"), &TForm3::Usu1Click);
}

void TForm3::setTabOrder() {
    QWidget::setTabOrder(EEtap, BitBtn1);
    QWidget::setTabOrder(BitBtn1, BitBtn2);
    QWidget::setTabOrder(BitBtn2, ListBox1);
    QWidget::setTabOrder(ListBox1, Edit1);
    QWidget::setTabOrder(Edit1, BitBtn3);
}

void TForm3::connectHandlers() {
    auto* list = static_cast<StageListBox*>(ListBox1);
    list->onUserSelect = [this] { runHandler(this, [this] { ListBox1Click(); }); };
    list->onDoubleClick = [this] { runHandler(this, [this] { ListBox1DblClick(); }); };
    list->onContextMenu = [this](int row, QPoint globalPos) {
        runHandler(this, [&] { ListBox1ContextPopup(row, globalPos); });
    };
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { keepSelectionShown(); });
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { keepSelectionShown(); });

    connect(BitBtn3, &QPushButton::clicked, this,
            [this] { runHandler(this, [this] { BitBtn3Click(); }); });
    // The result is decided before the handler runs, so an error in it still closes the dialog.
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        setResult(Accepted);
        runHandler(this, [this] { BitBtn1Click(); });
        done(Accepted);
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        setResult(Rejected);
        runHandler(this, [this] { BitBtn2Click(); });
        done(Rejected);
    });
    pressOnAcceleratorKeepingFocus(BitBtn1);
    pressOnAcceleratorKeepingFocus(BitBtn2);
    Edit1->installEventFilter(this);
}

// The selected position is the list's current row; the highlight always shows it, so that a
// Ctrl+click cannot leave a current row that looks unselected.
void TForm3::keepSelectionShown() {
    QListWidgetItem* current = ListBox1->currentItem();
    if (current == nullptr) {
        if (!ListBox1->selectedItems().isEmpty()) {
            ListBox1->clearSelection();
        }
    } else if (!current->isSelected()) {
        ListBox1->selectionModel()->select(ListBox1->currentIndex(),
                                           QItemSelectionModel::ClearAndSelect);
    }
}

int TForm3::selectedIndex() const {
    return ListBox1->currentRow();
}

void TForm3::selectIndex(int index) {
    if (index < 0 || index >= ListBox1->count()) {
        ListBox1->setCurrentRow(-1);
        ListBox1->clearSelection();
        return;
    }
    ListBox1->setCurrentRow(index);
}

QString TForm3::itemText(int index) const {
    if (index < 0 || index >= ListBox1->count()) {
        throw krelwin::RuntimeError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return ListBox1->item(index)->data(WholeNameRole).toString();
}

void TForm3::appendFileNames(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        appendName(krelwin::fromFileBytes(name));
    }
}

void TForm3::appendName(const QString& name) {
    const int selected = selectedIndex();
    auto* item = new QListWidgetItem;
    item->setData(WholeNameRole, name);
    item->setText(shownName(name));
    ListBox1->addItem(item);
    if (selectedIndex() != selected) {
        selectIndex(selected);
    }
}

void TForm3::setItemName(int index, const QString& name) {
    itemText(index); // the list's index error when there is no such item
    QListWidgetItem* item = ListBox1->item(index);
    item->setData(WholeNameRole, name);
    item->setText(shownName(name));
}

int TForm3::nameCount() const {
    return ListBox1->count();
}

void TForm3::clearNames() {
    ListBox1->clear();
}

QString TForm3::stageName() const {
    return EEtap->text();
}

void TForm3::setStageName(const QString& name) {
    EEtap->setText(name);
}

void TForm3::setStageNameEditable(bool editable) {
    EEtap->setEnabled(editable);
}

TForm3::Reread TForm3::rereadNames() {
    return replaceNames(krelwin::CzytajListeEtapow(currentFilePath()));
}

TForm3::Reread TForm3::replaceNames(const std::vector<std::string>& names) {
    const auto stillStands = [&](int position) {
        return position >= 0 && position < ListBox1->count() &&
               std::size_t(position) < names.size() &&
               krelwin::fromFileBytes(names[std::size_t(position)]) == itemText(position);
    };
    Reread reread;
    reread.position = selectedIndex();
    if (reread.position >= 0) {
        reread.name = itemText(reread.position);
    }
    reread.kept = stillStands(reread.position);
    const int remembered = stillStands(ZapamietanyIndeks) ? ZapamietanyIndeks : -1;
    ListBox1->clear();
    appendFileNames(names);
    selectIndex(reread.kept ? reread.position : -1);
    ZapamietanyIndeks = remembered;
    if (!reread.kept) {
        Panel1->hide(); // the rename it was shown for has no item now
    }
    return reread;
}

QString TForm3::describe(const Reread& reread) {
    const QString heading = QStringLiteral("Lista etapów została odczytana z pliku ponownie.");
    if (reread.position < 0) {
        return heading;
    }
    const QString number = QString::number(reread.position + 1);
    const QString name = shownName(reread.name, MessageNameLength);
    if (reread.kept) {
        return heading + QStringLiteral(" Etap nr %1 „%2” jest na swoim miejscu i pozostaje "
                                        "zaznaczony.")
                             .arg(number, name);
    }
    return heading + QStringLiteral(" Na pozycji nr %1 nie ma już etapu „%2”, więc żaden etap "
                                    "nie jest zaznaczony, a „Zapisz” dopisze etap na końcu "
                                    "pliku.")
                         .arg(number, name);
}

bool TForm3::holdsNames(const std::vector<std::string>& names) const {
    if (std::size_t(ListBox1->count()) != names.size()) {
        return false;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (krelwin::fromFileBytes(names[i]) != itemText(int(i))) {
            return false;
        }
    }
    return true;
}

std::string TForm3::currentFilePath() const {
    return QFile::encodeName(stan_.BiezacyPlik()).toStdString();
}

void TForm3::showEvent(QShowEvent* event) {
    PlacedDialog::showEvent(event);
    if (!event->spontaneous()) {
        runHandler(this, [this] { FormShow(); });
    }
}

// Neither button is the default or the cancel button: Enter and Escape press nothing, while a
// focused button still takes Enter itself.
void TForm3::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused != nullptr) {
            focused->click();
        }
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        PlacedDialog::keyPressEvent(event);
    }
}

// The close box cancels as "&Anuluj" does, name field and rename panel included.
void TForm3::closeEvent(QCloseEvent* event) {
    if (isVisible()) {
        setResult(Rejected);
        runHandler(this, [this] { BitBtn2Click(); });
    }
    PlacedDialog::closeEvent(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runHandler(this, [this] { Edit1KeyPress(); });
            return true;
        }
    }
    return PlacedDialog::eventFilter(watched, event);
}

void TForm3::done(int result) {
    PlacedDialog::done(result);
    runHandler(this, [this] { FormClose(); });
}

void TForm3::FormShow() {
    ZapamietanyIndeks = selectedIndex();
    nameWhenShown_ = EEtap->text();
}

void TForm3::ListBox1Click() {
    Panel1->hide();
    EEtap->setText(selectedItemText());
}

void TForm3::ListBox1DblClick() {
    Panel1->hide();
    EEtap->setText(selectedItemText());
    stan_.setBiezacyEtap(EEtap->text());
    done(Accepted);
}

void TForm3::BitBtn3Click() {
    if (selectedIndex() < 0) {
        return;
    }
    Edit1->setText(selectedItemText());
    Panel1->show();
    Edit1->setFocus();
}

void TForm3::Edit1KeyPress() {
    ZmienNazwe();
    Panel1->hide();
}

void TForm3::BitBtn1Click() {
    if (!Panel1->isHidden()) {
        ZmienNazwe();
    }
    Panel1->hide();
    stan_.setBiezacyEtap(EEtap->text());
}

// The name field goes back with the selection: to the remembered item's name, or, with no
// item remembered, to what it held when the dialog was shown. Otherwise a later "Zapisz" would
// write the stage at the remembered position under the name of an item merely clicked.
void TForm3::BitBtn2Click() {
    Panel1->hide();
    EEtap->setText(ZapamietanyIndeks >= 0 ? itemText(ZapamietanyIndeks) : nameWhenShown_);
}

void TForm3::restoreStateWhenShown() {
    selectIndex(ZapamietanyIndeks);
    EEtap->setText(nameWhenShown_);
}

void TForm3::takeBackConfirmation() {
    setResult(Rejected);
    BitBtn2Click();
    FormClose();
}

void TForm3::FormClose() {
    if (result() != Accepted) {
        selectIndex(ZapamietanyIndeks);
    }
}

// Only the name line of the selected record is rewritten: the record's cells and parameters
// stay as they are, whichever stage is in memory. The file must still hold the listed name at
// that position. The list item takes the new name only once the file holds it, so that the
// list never names what the file does not. A refusal is the program's own message and ends
// the rename, not the handler.
void TForm3::ZmienNazwe() {
    const int index = selectedIndex();
    const QString listed = itemText(index); // the list's index error when nothing is selected
    const QString name = Edit1->text();
    if (writeForList([&] {
            krelwin::ZmienNazweEtapu(currentFilePath(), index, krelwin::toFileBytes(name),
                                     krelwin::toFileBytes(listed));
        })) {
        setItemName(index, name);
    }
}

bool TForm3::writeForList(const std::function<void()>& write) {
    try {
        write();
    } catch (const krelwin::FileChangedMessage& changed) {
        showError(this, refusalAfterRereading(changed));
        return false;
    } catch (const krelwin::PlainMessage& message) {
        showError(this, message);
        return false;
    }
    return true;
}

// The first item cannot go up, nor the last listed one down.
void TForm3::ListBox1ContextPopup(int row, QPoint globalPos) {
    menuRow_ = row;
    Przesuwyej1->setEnabled(row > 0);
    Przesuniej1->setEnabled(row + 1 < ListBox1->count());
    PopupMenu1->exec(globalPos);
}

void TForm3::Przesuwyej1Click() {
    przesunEtap(menuRow_, menuRow_ - 1);
}

void TForm3::Przesuniej1Click() {
    przesunEtap(menuRow_, menuRow_ + 1);
}

// Every handler but "Zmień nazwę" hides the rename panel: its item may move or go.
void TForm3::przesunEtap(int from, int to) {
    Panel1->hide();
    const std::string listed = krelwin::toFileBytes(itemText(from));
    if (!writeForList([&] { krelwin::moveStage(currentFilePath(), from, to, listed); })) {
        return;
    }
    showStagesMoved(to, [from, to](int position) {
        return position == from ? to : position == to ? from : position;
    });
}

// The copy takes the stage's own name and stands right after it.
void TForm3::Powiel1Click() {
    Panel1->hide();
    const int index = menuRow_;
    const std::string listed = krelwin::toFileBytes(itemText(index));
    int copy = -1;
    if (!writeForList([&] {
            copy = krelwin::duplicateStage(currentFilePath(), index, std::nullopt, listed);
        })) {
        return;
    }
    showStagesMoved(copy,
                    [index](int position) { return position > index ? position + 1 : position; });
}

// Nothing is selected afterwards, so that a later "Zapisz" appends the stage in memory rather
// than writing it over the stage that took the deleted one's place; and the name field goes
// back to what it held when the dialog was shown, so that the stage in memory is not named
// after the deleted one.
void TForm3::Usu1Click() {
    Panel1->hide();
    const int index = menuRow_;
    const QString name = itemText(index);
    const QString question =
        QStringLiteral("Usunąć etap nr %1 „%2” z pliku? Tej operacji nie można cofnąć.")
            .arg(QString::number(index + 1), shownName(name, MessageNameLength));
    if (!askYesNo(this, question)) {
        return;
    }
    if (!writeForList(
            [&] { krelwin::deleteStage(currentFilePath(), index, krelwin::toFileBytes(name)); })) {
        return;
    }
    showStagesMoved(-1, [index](int position) {
        return position == index ? -1 : position > index ? position - 1 : position;
    });
    EEtap->setText(nameWhenShown_);
}

// The position remembered when the dialog was shown is where "&Anuluj" takes the selection
// back to, and so where a later "Zapisz" writes: it must still name the same stage.
void TForm3::showStagesMoved(int selected, const std::function<int(int)>& newPosition) {
    const std::vector<std::string> names = krelwin::CzytajListeEtapow(currentFilePath());
    const int remembered = ZapamietanyIndeks >= 0 ? newPosition(ZapamietanyIndeks) : -1;
    clearNames();
    appendFileNames(names);
    selectIndex(selected);
    ZapamietanyIndeks = remembered < nameCount() ? remembered : -1;
}

krelwin::PlainMessage TForm3::refusalAfterRereading(const std::exception& refusal) {
    QString text = QString::fromUtf8(refusal.what());
    try {
        text += QStringLiteral("\n\n") + describe(rereadNames());
    } catch (const std::exception&) {
        // The file cannot be read now; the list stays, and the next command says why.
    }
    return krelwin::PlainMessage(text.toStdString());
}
