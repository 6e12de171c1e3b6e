#include "ListaE.h"

#include "FileTextValidator.h"
#include "FileWorkflow.h"
#include "StageListModel.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

#include <functional>

namespace {

constexpr int NameTypingLimit = 20;

// The list reports the user's own moves of the selection, by mouse or keyboard, apart from the
// program's: only the user's run ListBox1Click. A double click counts only on an item. It asks
// for an item's context menu on a right click on the item (which the press has selected) or
// the Menu key on the selected item.
class StageListBox : public QListView {
public:
    using QListView::QListView;
    std::function<void()> onUserSelect;
    std::function<void()> onDoubleClick;
    std::function<void(int row, QPoint globalPos)> onContextMenu;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QListView::mousePressEvent(event);
        if (indexAt(event->position().toPoint()).isValid() && onUserSelect) {
            onUserSelect();
        }
    }
    // The item double-clicked is the one chosen, also where no press of the double click
    // reached the list to select it.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        const QModelIndex item = indexAt(event->position().toPoint());
        QListView::mouseDoubleClickEvent(event);
        if (event->button() != Qt::LeftButton || !item.isValid()) {
            return;
        }
        if (currentIndex() != item) {
            setCurrentIndex(item);
            if (onUserSelect) {
                onUserSelect();
            }
        }
        if (onDoubleClick) {
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
        const QModelIndex before = currentIndex();
        QListView::keyPressEvent(event);
        if (currentIndex() != before && onUserSelect) {
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
        const QModelIndex item = indexAt(event->pos());
        if (item.isValid() && onContextMenu) {
            onContextMenu(item.row(), event->globalPos());
        }
    }

private:
    void menuOnCurrentItem() {
        const QModelIndex item = currentIndex();
        if (item.isValid() && onContextMenu) {
            onContextMenu(item.row(), viewport()->mapToGlobal(visualRect(item).center()));
        }
    }
};

QPushButton* makeButton(const QString& text, QStyle::StandardPixmap image, int left,
                        QWidget* parent) {
    auto* button = new QPushButton(dialogButtonIcon(image), text, parent);
    button->setGeometry(left, 225, 105, 25);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TForm3::TForm3(FileWorkflow& workflow, QWidget* parent)
    : PlacedDialog(parent), workflow_(workflow), list_(workflow.list()) {
    buildLayout();
    buildPopupMenu();
    setTabOrder();
    connectHandlers();
    followList();
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
    ListBox1->setModel(&list_);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
        return addHandlerItem(PopupMenu1, caption, this, handler);
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
    list->onUserSelect = [this] {
        list_.select(ListBox1->currentIndex().row());
        runHandler(this, [this] { ListBox1Click(); });
    };
    list->onDoubleClick = [this] { runHandler(this, [this] { ListBox1DblClick(); }); };
    list->onContextMenu = [this](int row, QPoint globalPos) {
        runHandler(this, [&] { ListBox1ContextPopup(row, globalPos); });
    };
    connect(ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { keepSelectionShown(); });

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

// The field and the selection show the list's; what the user types is the list's name field.
void TForm3::followList() {
    EEtap->setText(list_.nameField());
    connect(&list_, &StageListModel::nameFieldChanged, EEtap, [this](const QString& name) {
        if (EEtap->text() != name) {
            EEtap->setText(name);
        }
    });
    connect(EEtap, &QLineEdit::textChanged, this, [this] { list_.setNameField(EEtap->text()); });
    connect(&list_, &StageListModel::selectionChanged, this, &TForm3::showSelection);
}

// No selection leaves the rename panel nothing to rename.
void TForm3::showSelection(int index) {
    if (index < 0) {
        ListBox1->selectionModel()->clear();
        Panel1->hide();
        return;
    }
    ListBox1->selectionModel()->setCurrentIndex(list_.index(index),
                                                QItemSelectionModel::ClearAndSelect);
}

// The highlight always shows the current item, so that a Ctrl+click cannot leave a current
// item that looks unselected.
void TForm3::keepSelectionShown() {
    const QModelIndex current = ListBox1->currentIndex();
    if (current.isValid() && !ListBox1->selectionModel()->isSelected(current)) {
        ListBox1->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    }
}

int TForm3::selectedIndex() const {
    return list_.selected();
}

void TForm3::selectIndex(int index) {
    list_.select(index);
}

QString TForm3::itemText(int index) const {
    return list_.name(index);
}

int TForm3::nameCount() const {
    return list_.count();
}

void TForm3::setStageNameEditable(bool editable) {
    EEtap->setEnabled(editable);
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
    list_.rememberWhenShown();
}

void TForm3::ListBox1Click() {
    Panel1->hide();
    list_.setNameField(itemText(selectedIndex()));
}

void TForm3::ListBox1DblClick() {
    Panel1->hide();
    list_.setNameField(itemText(selectedIndex()));
    done(Accepted);
}

void TForm3::BitBtn3Click() {
    if (selectedIndex() < 0) {
        return;
    }
    Edit1->setText(itemText(selectedIndex()));
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
}

void TForm3::BitBtn2Click() {
    Panel1->hide();
    list_.cancelShowing();
}

void TForm3::FormClose() {
    if (result() != Accepted) {
        list_.selectListed(list_.remembered(), list_.rememberedName());
    }
}

void TForm3::ZmienNazwe() {
    workflow_.pack().zmienNazwe(selectedIndex(), Edit1->text());
}

// The first item cannot go up, nor the last listed one down.
void TForm3::ListBox1ContextPopup(int row, QPoint globalPos) {
    menuRow_ = row;
    Przesuwyej1->setEnabled(row > 0);
    Przesuniej1->setEnabled(row + 1 < nameCount());
    PopupMenu1->exec(globalPos);
}

// Every handler but "Zmień nazwę" hides the rename panel: its item may move or go.
void TForm3::Przesuwyej1Click() {
    Panel1->hide();
    workflow_.pack().przesunEtap(menuRow_, menuRow_ - 1);
}

void TForm3::Przesuniej1Click() {
    Panel1->hide();
    workflow_.pack().przesunEtap(menuRow_, menuRow_ + 1);
}

void TForm3::Powiel1Click() {
    Panel1->hide();
    workflow_.pack().powielEtap(menuRow_);
}

void TForm3::Usu1Click() {
    Panel1->hide();
    workflow_.pack().usunEtap(menuRow_);
}
