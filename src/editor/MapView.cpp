#include "MapView.h"

#include "CellRenderer.h"
#include "GridPainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {
constexpr int BorderGrabBefore = 1; // pixels of the cell left of a border that grab it
} // namespace

MapView::MapView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::PointingHandCursor);
    // Every pixel is painted by the view itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Base, krelwin::render::backgroundColor());
    colours.setColor(QPalette::Window, krelwin::render::backgroundColor());
    viewport()->setPalette(colours);
    rowBand_ = krelwin::render::rowBandOf(grid_);
    preview_.resize(columnCount(), rowCount());
    updateScrollBars();
}

// --- geometry ---------------------------------------------------------------------------

QPoint MapView::scrollOffset() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QRect MapView::cellRect(int column, int row) const {
    return grid_.cellRect(column, row).translated(-scrollOffset());
}

std::optional<MapView::Cell> MapView::cellAt(const QPoint& viewportPoint) const {
    if (const auto cell = grid_.cellAt(viewportPoint + scrollOffset()))
        return Cell{cell->column, cell->row};
    return std::nullopt;
}

MapView::Selection MapView::selection() const {
    return {std::min(current_.column, anchor_.column), std::min(current_.row, anchor_.row),
            std::max(current_.column, anchor_.column), std::max(current_.row, anchor_.row)};
}

// --- size and options -------------------------------------------------------------------

void MapView::setRowCount(int rows) {
    grid_.setRowCount(rows);
    preview_.resize(columnCount(), rowCount());
    contentChanged();
}

void MapView::setColumnCount(int columns) {
    grid_.setColumnCount(columns);
    preview_.resize(columnCount(), rowCount());
    contentChanged();
}

void MapView::setGridLineWidth(int width) {
    grid_.setLineWidth(width);
    contentChanged();
}

void MapView::setColumnWidth(int column, int width) {
    grid_.setColumnWidth(column, width);
    contentChanged();
}

void MapView::setScalePercent(int percent) {
    scaleAround(percent, viewport()->rect().center());
}

void MapView::scaleAround(int percent, QPoint anchor) {
    if (percent == scalePercent())
        return;
    const QPoint under = anchor + scrollOffset();
    const QSize before(grid_.contentWidth(), grid_.contentHeight());
    grid_.setScale(krelwin::render::Scale(percent));
    tiles_ = krelwin::render::TileSet::builtIn().scaled(grid_.scale());
    contentChanged();
    // The content grows or shrinks about the anchor.
    const auto moved = [](int position, int after, int before) {
        return int(qint64(position) * after / std::max(1, before));
    };
    horizontalScrollBar()->setValue(moved(under.x(), grid_.contentWidth(), before.width()) -
                                    anchor.x());
    verticalScrollBar()->setValue(moved(under.y(), grid_.contentHeight(), before.height()) -
                                  anchor.y());
    emit scaleChanged(percent);
}

void MapView::contentChanged() {
    rowBand_ = krelwin::render::rowBandOf(grid_);
    keepCellsInRange();
    updateScrollBars();
    viewport()->update();
}

void MapView::keepCellsInRange() {
    const auto inRange = [this](Cell cell) {
        return Cell{std::min(cell.column, columnCount() - 1), std::min(cell.row, rowCount() - 1)};
    };
    current_ = inRange(current_);
    anchor_ = inRange(anchor_);
}

void MapView::updateScrollBars() {
    const QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, grid_.contentWidth() - visible.width()));
    horizontalScrollBar()->setPageStep(visible.width());
    horizontalScrollBar()->setSingleStep(grid_.scale().length(DefaultCellSize) +
                                         grid_.linePixels());
    verticalScrollBar()->setRange(0, std::max(0, grid_.contentHeight() - visible.height()));
    verticalScrollBar()->setPageStep(visible.height());
    verticalScrollBar()->setSingleStep(grid_.rowPitch());
}

void MapView::setPenColor(const QColor& color) {
    pen_.setColor(color);
}

void MapView::setOverlayText(const QString& text) {
    if (text == overlayText_)
        return;
    overlayText_ = text;
    viewport()->update();
}

// --- current cell and selection -----------------------------------------------------------

void MapView::setCurrentRow(int row) {
    moveCurrentCollapsed({current_.column, std::clamp(row, 0, rowCount() - 1)});
}

void MapView::setCurrentColumn(int column) {
    moveCurrentCollapsed({std::clamp(column, 0, columnCount() - 1), current_.row});
}

void MapView::moveCurrentCollapsed(Cell cell) {
    moveTo(cell, false);
    scrollToCell(cell);
}

void MapView::moveTo(Cell cell, bool keepCurrent) {
    const auto areaOf = [this](Selection s) {
        return cellRect(s.left, s.top).united(cellRect(s.right, s.bottom));
    };
    const QRect before = areaOf(selection());
    if (!keepCurrent)
        current_ = cell;
    anchor_ = cell;
    // Only the old and the new selection change colour.
    viewport()->update(before.united(areaOf(selection())).adjusted(-1, -1, 1, 1));
}

void MapView::scrollToCell(Cell cell) {
    const QRect rect = cellRect(cell.column, cell.row).translated(scrollOffset());
    const QSize visible = viewport()->size();
    QScrollBar* horizontal = horizontalScrollBar();
    if (rect.left() < horizontal->value())
        horizontal->setValue(rect.left());
    else if (rect.left() + rect.width() > horizontal->value() + visible.width())
        horizontal->setValue(rect.left() + rect.width() - visible.width());
    QScrollBar* vertical = verticalScrollBar();
    if (rect.top() < vertical->value())
        vertical->setValue(rect.top());
    else if (rect.top() + rect.height() > vertical->value() + visible.height())
        vertical->setValue(rect.top() + rect.height() - visible.height());
}

// --- repainting -------------------------------------------------------------------------

void MapView::repaintCell(int column, int row) {
    if (column < 0 || column >= columnCount() || row < 0 || row >= rowCount())
        return;
    const QRect rect = cellRect(column, row);
    if (rect.intersects(viewport()->rect()))
        viewport()->update(rect);
}

void MapView::repaintAll() {
    viewport()->update();
}

void MapView::setPreview(const std::vector<PreviewCell>& cells) {
    for (const Cell& cell : preview_.replace(cells))
        repaintCell(cell.column, cell.row);
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion& region = event->region();
    const QRect area = region.boundingRect();
    const QPoint offset = scrollOffset();
    if (const auto cells = grid_.cellsIn(area.translated(offset))) {
        if (grid_.lineWidth() == 1)
            pen_ = QPen(krelwin::render::gridLineColor(), 1);
        painter.setPen(pen_);
        const Selection s = selection();
        const krelwin::render::CellPaint paint{
            offset, region, krelwin::render::CellRange{s.left, s.top, s.right, s.bottom},
            palette().brush(QPalette::Active, QPalette::Highlight), &rowBand_};
        cellsDrawn_ = 0;
        krelwin::render::paintCells(
            painter, grid_, *cells, paint, [&](int column, int row, const QRect& rect, bool) {
                ++cellsDrawn_;
                if (const std::optional<char> code = preview_.codeAt(column, row))
                    krelwin::render::drawCell(painter, tiles_, *code, rect);
                else if (drawCell_)
                    drawCell_(painter, column, row, rect);
            });
        if (hasFocus())
            paintFocusRect(painter);
    }
    paintBeyondLastCell(painter, area);
    if (!overlayText_.isEmpty())
        paintOverlayText(painter);
}

void MapView::paintOverlayText(QPainter& painter) {
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QRect place(QPoint(10, 10), painter.fontMetrics().size(0, overlayText_));
    painter.drawText(place, Qt::AlignLeft | Qt::AlignTop, overlayText_);
}

void MapView::paintFocusRect(QPainter& painter) {
    const QRect rect = cellRect(current_.column, current_.row);
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

void MapView::paintBeyondLastCell(QPainter& painter, const QRect& area) {
    const QPoint offset = scrollOffset();
    const int right = grid_.contentWidth() - offset.x();
    const int bottom = grid_.contentHeight() - offset.y();
    const QColor background = krelwin::render::backgroundColor();
    if (area.right() >= right)
        painter.fillRect(QRect(QPoint(right, area.top()), area.bottomRight()), background);
    if (area.bottom() >= bottom)
        painter.fillRect(QRect(QPoint(area.left(), bottom),
                               QPoint(std::min(right - 1, area.right()), area.bottom())),
                         background);
}

void MapView::scrollContentsBy(int, int) {
    viewport()->update();
}

void MapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void MapView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    repaintCell(current_.column, current_.row);
}

void MapView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    repaintCell(current_.column, current_.row);
}

// --- mouse ------------------------------------------------------------------------------

std::optional<int> MapView::columnBorderAt(const QPoint& viewportPoint) const {
    const QPoint content = viewportPoint + scrollOffset();
    if (content.y() < 0 || content.y() >= grid_.contentHeight())
        return std::nullopt;
    for (int column = 0; column < columnCount(); ++column) {
        // The first pixel right of the cell: its grid line, or the next cell without lines.
        const int edge = grid_.columnLeft(column) + grid_.columnPixels(column);
        if (content.x() >= edge - BorderGrabBefore && content.x() <= edge)
            return column;
        if (edge > content.x())
            break;
    }
    return std::nullopt;
}

void MapView::updateCursor(const QPoint& viewportPoint) {
    const bool onBorder = resizingColumn_ || columnBorderAt(viewportPoint);
    viewport()->setCursor(onBorder ? Qt::SplitHCursor : Qt::PointingHandCursor);
}

MapView::Cell MapView::nearestCell(const QPoint& viewportPoint) const {
    const QPoint content = viewportPoint + scrollOffset();
    const QPoint inside(std::clamp(content.x(), 0, grid_.contentWidth() - 1),
                        std::clamp(content.y(), 0, grid_.contentHeight() - 1));
    const auto cell = grid_.cellAt(inside);
    return cell ? Cell{cell->column, cell->row} : Cell{0, 0};
}

void MapView::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rightDrag_ != RightDrag::None) {
        cancelRightDrag();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::RightButton)
        startRightDrag(position);
    if (event->button() == Qt::LeftButton) {
        if (const auto border = columnBorderAt(position)) {
            resizingColumn_ = border;
            resizeStartX_ = position.x();
            resizeStartWidth_ = columnWidth(*border);
            return;
        }
        if (const auto cell = cellAt(position)) {
            moveTo(*cell, event->modifiers() & Qt::ShiftModifier);
            selecting_ = true;
        }
    }
    emit mousePressed(event->button(), event->modifiers(), position);
    if (event->button() == Qt::MiddleButton)
        if (const auto cell = cellAt(position))
            emit middlePressed(*cell);
}

// A drag whose release never came (taken by another window) ends as if released where it was.
void MapView::startRightDrag(const QPoint& viewportPoint) {
    if (rightDrag_ == RightDrag::Dragging) {
        rightDrag_ = RightDrag::None;
        emit dragReleased(dragCell_);
    }
    rightDrag_ = RightDrag::Dragging;
    dragCell_ = nearestCell(viewportPoint);
}

void MapView::moveRightDrag(const QMouseEvent& event) {
    if (!(event.buttons() & Qt::RightButton)) {
        rightDrag_ = RightDrag::None; // released where the view did not see it
        emit dragReleased(dragCell_);
        return;
    }
    const Cell cell = nearestCell(event.position().toPoint());
    if (cell == dragCell_)
        return;
    dragCell_ = cell;
    scrollToCell(cell);
    emit dragMoved(cell);
}

void MapView::cancelRightDrag() {
    const bool wasDragging = rightDrag_ == RightDrag::Dragging;
    rightDrag_ = RightDrag::Cancelled;
    if (wasDragging)
        emit dragCancelled();
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (rightDrag_ == RightDrag::Dragging)
        moveRightDrag(*event);
    if (resizingColumn_) {
        // The width is kept at full size: a drag moves the border by screen pixels.
        setColumnWidth(*resizingColumn_,
                       resizeStartWidth_ + grid_.scale().unscaled(position.x() - resizeStartX_));
        return;
    }
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        if (const auto cell = cellAt(position); cell && !(*cell == anchor_)) {
            moveTo(*cell, true);
            scrollToCell(*cell);
        }
    }
    updateCursor(position);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && rightDrag_ != RightDrag::None) {
        const bool dragging = rightDrag_ == RightDrag::Dragging;
        rightDrag_ = RightDrag::None;
        if (dragging)
            emit dragReleased(nearestCell(event->position().toPoint()));
    }
    if (event->button() == Qt::LeftButton) {
        selecting_ = false;
        resizingColumn_.reset();
    }
    updateCursor(event->position().toPoint());
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
    // A second right or middle press is a press like the first, and so is a left one during a
    // right drag, which it cancels.
    if (event->button() != Qt::LeftButton || rightDrag_ != RightDrag::None) {
        mousePressEvent(event);
        return;
    }
    if (columnBorderAt(event->position().toPoint()))
        return;
    if (const auto cell = cellAt(event->position().toPoint()))
        moveTo(*cell, event->modifiers() & Qt::ShiftModifier);
    emit doubleClicked();
}

// Ctrl + wheel steps the scale, a step per notch (120 eighths of a degree, gathered from the
// smaller turns of fine wheels and touchpads); the wheel alone scrolls.
void MapView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    const int turn = event->angleDelta().y();
    if ((turn > 0) != (wheelTurn_ > 0))
        wheelTurn_ = 0; // a turn back starts afresh
    wheelTurn_ += turn;
    const int steps = wheelTurn_ / QWheelEvent::DefaultDeltasPerStep;
    if (steps == 0)
        return;
    wheelTurn_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    scaleAround(krelwin::render::steppedScale(scalePercent(), steps), event->position().toPoint());
}

// --- keyboard ---------------------------------------------------------------------------

void MapView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && rightDrag_ != RightDrag::None) {
        cancelRightDrag();
        event->accept();
        return;
    }
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const bool anchorOnly = event->modifiers() & Qt::ShiftModifier;
    const Cell from = anchorOnly ? anchor_ : current_;
    const Cell to{std::clamp(from.column + dx, 0, columnCount() - 1),
                  std::clamp(from.row + dy, 0, rowCount() - 1)};
    moveTo(to, anchorOnly);
    scrollToCell(to);
    event->accept();
}
