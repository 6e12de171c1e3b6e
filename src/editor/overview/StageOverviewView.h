// The overview's grid of pictures: a list view in icon mode whose items keep their places, file
// order, in as many columns as its width holds. Whenever what is on screen changes (a scroll, a
// resize, rows added or laid out anew) it tells which rows are there, so that only their
// pictures are drawn.
//
// A picture dragged to another place moves its stage: dropped on the left half of a picture it
// goes before that one, on the right half after it, below the last one to the end; a bar shows
// where while dragging, and the view scrolls near its edges. The move itself is the receiver's
// to make, once the drag has ended.
#pragma once

#include <QListView>

#include <optional>
#include <utility>

class StageOverviewView : public QListView {
    Q_OBJECT

public:
    // What a drag carries: the dragged stage's position, with the program and the view it
    // belongs to, so that a picture dragged from another editor, which shows another file, is
    // refused.
    static constexpr const char* DragFormat = "application/x-krelwin-stage-position";
    QMimeData* dragData(int row) const;

    explicit StageOverviewView(QWidget* parent = nullptr);

    // The first and the last row that has any part on screen; nothing when none has.
    std::optional<std::pair<int, int>> rowsOnScreen() const;
    // The position a stage dragged from `from` takes when dropped at `viewportPoint`.
    int dropPosition(int from, QPoint viewportPoint) const;

signals:
    void rowsShown(int first, int last);
    void stageDropped(int from, int to);

protected:
    void doItemsLayout() override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The gap a drop at the point falls into: 0 before the first row, rowCount() after the last.
    int gapAt(QPoint viewportPoint) const;
    // The first row whose item lies in the line of items at the height of `y`, and that line's
    // last row; the last line when `y` lies below every item.
    std::pair<int, int> lineAt(int y) const;
    int rowCount() const;
    QRect rowRect(int row) const { return visualRect(model()->index(row, 0)); }
    // Rows whose top lies at most at `y`: how many lines down to that height the items reach.
    int rowsAbove(int y) const;
    std::optional<int> draggedRow(const QMimeData* data) const;
    QByteArray dragSource() const;
    void announceRowsShownSoon();

    std::optional<int> gap_; // while a stage is dragged over the view
    bool announcing_ = false;
};
