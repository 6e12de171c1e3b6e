#include "DialogHelpers.h"

#include "errors.h"
#include "leftover_backups.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIconEngine>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>

void PlacedDialog::setVisible(bool visible) {
    if (visible && !placedBefore_) {
        placedBefore_ = true;
        QScreen* screen =
            parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            // An explicit move also keeps QDialog from placing the dialog over its parent.
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    QDialog::setVisible(visible);
}

QFont dialogFont() {
    // Where MS Sans Serif is missing, a face of Arial's metrics comes nearest to it; the dialogs
    // make room for the little it is wider.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

int roomMissingLeftOf(const QLabel* label, int fieldLeft) {
    const int textRight = label->x() + label->sizeHint().width();
    return std::max(0, textRight + LabelGap - fieldLeft);
}

int moveFieldsClearOfLabels(const std::vector<LabelledField>& column) {
    int shift = 0;
    for (const LabelledField& row : column) {
        shift = std::max(shift, roomMissingLeftOf(row.label, row.field->x()));
    }
    for (const LabelledField& row : column) {
        row.field->move(row.field->x() + shift, row.field->y());
    }
    return shift;
}

int widthMissing(const QWidget* box, int contentRight, int margin) {
    return std::max(0, contentRight + margin - box->width());
}

void widenBy(QWidget* box, int pixels) {
    if (pixels == 0) {
        return;
    }
    if (box->isWindow()) {
        box->setFixedSize(box->width() + pixels, box->height()); // the frame is a fixed one
    } else {
        box->resize(box->width() + pixels, box->height());
    }
}

namespace {

// Stands for the style's icon until something asks for its pixels. Sizes are answered as asked
// without it: the style's standard icons are square and come in every size a button asks for.
class StandardIconEngine : public QIconEngine {
public:
    explicit StandardIconEngine(QStyle::StandardPixmap which) : which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon_ ? icon_->actualSize(size, mode, state) : size;
    }
    QIconEngine* clone() const override { return new StandardIconEngine(*this); }

private:
    const QIcon& icon() {
        if (!icon_) {
            icon_ = QApplication::style()->standardIcon(which_);
        }
        return *icon_;
    }

    QStyle::StandardPixmap which_;
    std::optional<QIcon> icon_;
};

} // namespace

QIcon dialogButtonIcon(QStyle::StandardPixmap which) {
    return QIcon(new StandardIconEngine(which));
}

void pressOnAcceleratorKeepingFocus(QPushButton* button) {
    const QKeySequence accelerator = QKeySequence::mnemonic(button->text());
    if (accelerator.isEmpty()) {
        return;
    }
    button->setShortcut(QKeySequence()); // the button's own would move the focus to it
    auto* shortcut = new QShortcut(accelerator, button->window());
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isVisible() && button->isEnabled()) {
            button->click();
        }
    });
}

void showError(QWidget* parent, const std::exception& error) {
    const QString title = QString::fromUtf8(krelwin::ApplicationTitle);
    if (dynamic_cast<const krelwin::PlainMessage*>(&error) != nullptr) {
        QMessageBox box(QMessageBox::NoIcon, title, QString::fromUtf8(error.what()),
                        QMessageBox::Ok, parent);
        box.exec();
        return;
    }
    QMessageBox box(QMessageBox::Critical, title,
                    QString::fromUtf8(krelwin::errorBoxText(error.what())), QMessageBox::Ok,
                    parent);
    box.exec();
}

// The box answers a plain letter key of a button's "&" mnemonic itself, and Alt with it.
bool askYesNo(QWidget* parent, const QString& text, YesNoPreset preset) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(krelwin::ApplicationTitle), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Tak"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nie"));
    box.setDefaultButton(preset == YesNoPreset::Tak ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

namespace {

// The backups that interrupted writes left beside the files a command read or wrote, each shown
// once in the editor's run, after the command.
class LeftoverBackupNotices : public krelwin::LeftoverBackupListener {
public:
    void leftoverBackupFound(const std::string& path, const std::string& backup) override {
        static std::set<std::string> shownBefore;
        if (shownBefore.insert(backup).second) {
            found_.emplace_back(path, backup);
        }
    }
    void show(QWidget* parent) const {
        for (const auto& [path, backup] : found_) {
            showError(parent, krelwin::LeftoverBackupMessage(path, backup));
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> found_;
};

} // namespace

void runHandler(QWidget* parent, const std::function<void()>& handler) {
    LeftoverBackupNotices notices;
    {
        const krelwin::ScopedLeftoverBackupListener told(notices);
        try {
            handler();
        } catch (const std::exception& error) {
            showError(parent, error);
        }
    }
    notices.show(parent);
}
