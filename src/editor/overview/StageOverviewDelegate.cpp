#include "StageOverviewDelegate.h"

#include "StageOverviewModel.h"

#include <QApplication>
#include <QPainter>

namespace {

QRect centred(QSize size, const QRect& box) {
    return QRect(box.left() + (box.width() - size.width()) / 2,
                 box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
}

} // namespace

QSize StageOverviewDelegate::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex&) const {
    const QSize box = StageOverviewModel::PictureBox;
    return {box.width() + 2 * Margin, box.height() + 3 * Margin + option.fontMetrics.height()};
}

void StageOverviewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    painter->save();
    const QPalette& palette = option.palette;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    if (selected)
        painter->fillRect(option.rect, palette.highlight());
    const QRect box(option.rect.topLeft() + QPoint(Margin, Margin), StageOverviewModel::PictureBox);
    const QPixmap picture = index.data(StageOverviewModel::PictureRole).value<QPixmap>();
    if (!picture.isNull()) {
        painter->drawPixmap(centred(picture.deviceIndependentSize().toSize(), box), picture);
    } else {
        const QRect placeholder = box.adjusted(8, 8, -8, -8);
        painter->fillRect(placeholder, palette.mid());
        if (!index.data(StageOverviewModel::ProblemRole).toString().isEmpty()) {
            painter->setPen(QPen(QColor(176, 0, 0), 3));
            painter->drawLine(placeholder.topLeft(), placeholder.bottomRight());
            painter->drawLine(placeholder.topRight(), placeholder.bottomLeft());
        }
    }
    QFont font = option.font;
    font.setBold(index.data(StageOverviewModel::MarkedRole).toBool());
    painter->setFont(font);
    painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
    const QRect line(option.rect.left() + Margin, box.bottom() + 1 + Margin,
                     option.rect.width() - 2 * Margin, QFontMetrics(font).height());
    const QString text = QFontMetrics(font).elidedText(index.data(Qt::DisplayRole).toString(),
                                                       Qt::ElideRight, line.width());
    painter->drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, text);
    if (option.state.testFlag(QStyle::State_HasFocus) && selected) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = palette.highlight().color();
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
    }
    painter->restore();
}
