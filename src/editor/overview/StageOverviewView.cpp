#include "StageOverviewView.h"

#include "StageOverviewModel.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QTimer>

StageOverviewView::StageOverviewView(QWidget* parent) : QListView(parent) {
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

int StageOverviewView::rowCount() const {
    return model() != nullptr ? model()->rowCount() : 0;
}

// The items stand in file order, line by line, so their tops never decrease with the row.
int StageOverviewView::rowsAbove(int y) const {
    int low = 0;
    int high = rowCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (rowRect(middle).top() <= y)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

std::optional<std::pair<int, int>> StageOverviewView::rowsOnScreen() const {
    const int count = rowCount();
    int low = 0;
    int high = count;
    while (low < high) { // the first row reaching below the top edge
        const int middle = (low + high) / 2;
        if (rowRect(middle).bottom() < 0)
            low = middle + 1;
        else
            high = middle;
    }
    const int last = rowsAbove(viewport()->height() - 1) - 1;
    if (count == 0 || low > last)
        return std::nullopt;
    return std::pair(low, last);
}

std::pair<int, int> StageOverviewView::lineAt(int y) const {
    const int above = rowsAbove(y);
    const int top = rowRect(std::max(0, above - 1)).top();
    return {rowsAbove(top - 1), rowsAbove(top) - 1};
}

int StageOverviewView::gapAt(QPoint viewportPoint) const {
    const int count = rowCount();
    if (count == 0 || viewportPoint.y() > rowRect(count - 1).bottom())
        return count;
    const auto [first, last] = lineAt(viewportPoint.y());
    for (int row = first; row <= last; ++row)
        if (viewportPoint.x() < rowRect(row).center().x())
            return row;
    return last + 1;
}

int StageOverviewView::dropPosition(int from, QPoint viewportPoint) const {
    const int gap = gapAt(viewportPoint);
    return gap > from ? gap - 1 : gap;
}

// --- what is on screen -------------------------------------------------------------------

void StageOverviewView::announceRowsShownSoon() {
    if (announcing_)
        return;
    announcing_ = true;
    QTimer::singleShot(0, this, [this] {
        announcing_ = false;
        if (const auto rows = rowsOnScreen())
            emit rowsShown(rows->first, rows->second);
    });
}

void StageOverviewView::doItemsLayout() {
    QListView::doItemsLayout();
    announceRowsShownSoon();
}

void StageOverviewView::scrollContentsBy(int dx, int dy) {
    QListView::scrollContentsBy(dx, dy);
    announceRowsShownSoon();
}

void StageOverviewView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    announceRowsShownSoon();
}

// --- dragging a stage to another place ----------------------------------------------------

QByteArray StageOverviewView::dragSource() const {
    return QByteArray::number(QCoreApplication::applicationPid()) + ' ' +
           QByteArray::number(quintptr(this));
}

QMimeData* StageOverviewView::dragData(int row) const {
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(DragFormat), dragSource() + ' ' + QByteArray::number(row));
    return data;
}

std::optional<int> StageOverviewView::draggedRow(const QMimeData* data) const {
    if (data == nullptr || !data->hasFormat(QString::fromLatin1(DragFormat)))
        return std::nullopt;
    const QByteArray carried = data->data(QString::fromLatin1(DragFormat));
    const qsizetype space = carried.lastIndexOf(' ');
    if (space < 0 || carried.first(space) != dragSource())
        return std::nullopt;
    bool number = false;
    const int row = carried.sliced(space + 1).toInt(&number);
    return number && row >= 0 && row < rowCount() ? std::optional(row) : std::nullopt;
}

void StageOverviewView::startDrag(Qt::DropActions) {
    const QModelIndex dragged = currentIndex();
    if (!dragged.isValid())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData(dragged.row()));
    const QPixmap picture = dragged.data(StageOverviewModel::PictureRole).value<QPixmap>();
    if (!picture.isNull()) {
        drag->setPixmap(
            picture.scaled(picture.size() / 2, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        drag->setHotSpot(QPoint(picture.width() / 4, picture.height() / 4));
    }
    drag->exec(Qt::MoveAction);
    gap_.reset();
    viewport()->update();
}

// Only the view's own pictures are taken: a drag from elsewhere is no stage of this file.
void StageOverviewView::dragEnterEvent(QDragEnterEvent* event) {
    if (draggedRow(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void StageOverviewView::dragMoveEvent(QDragMoveEvent* event) {
    if (!draggedRow(event->mimeData())) {
        event->ignore();
        return;
    }
    gap_ = gapAt(event->position().toPoint());
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const QPoint point = event->position().toPoint();
    const int margin = autoScrollMargin();
    if (point.y() < margin || point.y() > viewport()->height() - margin)
        startAutoScroll();
    viewport()->update();
}

void StageOverviewView::dragLeaveEvent(QDragLeaveEvent* event) {
    gap_.reset();
    stopAutoScroll();
    viewport()->update();
    event->accept();
}

// The move waits until the drag has ended: it writes the file and may show a message.
void StageOverviewView::dropEvent(QDropEvent* event) {
    gap_.reset();
    stopAutoScroll();
    viewport()->update();
    const std::optional<int> from = draggedRow(event->mimeData());
    if (!from) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const int to = dropPosition(*from, event->position().toPoint());
    if (to != *from)
        QTimer::singleShot(0, this, [this, from = *from, to] { emit stageDropped(from, to); });
}

void StageOverviewView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (!gap_ || rowCount() == 0)
        return;
    const bool afterLast = *gap_ >= rowCount();
    const QRect item = rowRect(afterLast ? rowCount() - 1 : *gap_);
    const int x = afterLast ? item.right() + spacing() / 2 : item.left() - spacing() / 2;
    QPainter painter(viewport());
    painter.fillRect(QRect(x - 2, item.top(), 4, item.height()), palette().highlight());
}
