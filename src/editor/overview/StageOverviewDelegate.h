// How the overview draws one stage: its picture in the middle of a box of the largest picture's
// size (a grey box while it is drawn, a crossed one when the stage cannot be read), and under it
// its number and name on one line, cut to the width. The stage "Zapisz" writes over has its line
// in bold; the current stage is highlighted as a selected item.
#pragma once

#include <QStyledItemDelegate>

class StageOverviewDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    static constexpr int Margin = 4;
};
