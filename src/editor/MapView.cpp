#include "MapView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {
const QColor GridLineColor(192, 192, 192); // silver
const QColor BackgroundColor(Qt::black);
constexpr int MinimumColumnWidth = 2;
constexpr int BorderGrabBefore = 1; // pixels of the cell left of a border that grab it
} // namespace

MapView::MapView(QWidget* parent) : QAbstractScrollArea(parent) {
    columnWidths_.assign(5, DefaultCellSize);
    recomputeColumnLefts();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::PointingHandCursor);
    // Every pixel is painted by the view itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Base, BackgroundColor);
    colours.setColor(QPalette::Window, BackgroundColor);
    viewport()->setPalette(colours);
    updateScrollBars();
}

// --- geometry ---------------------------------------------------------------------------

void MapView::recomputeColumnLefts() {
    columnLefts_.resize(columnWidths_.size() + 1);
    columnLefts_[0] = 0;
    for (size_t column = 0; column < columnWidths_.size(); ++column)
        columnLefts_[column + 1] = columnLefts_[column] + columnWidths_[column] + lineWidth_;
    rebuildRowBand();
}

int MapView::columnLeft(int column) const {
    return columnLefts_.at(column);
}

QPoint MapView::scrollOffset() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QRect MapView::cellRect(int column, int row) const {
    const QPoint offset = scrollOffset();
    return {columnLeft(column) - offset.x(), row * rowPitch() - offset.y(), columnWidth(column),
            DefaultCellSize};
}

std::optional<MapView::Cell> MapView::cellAt(const QPoint& viewportPoint) const {
    const QPoint content = viewportPoint + scrollOffset();
    if (content.x() < 0 || content.y() < 0 || content.x() >= contentWidth() ||
        content.y() >= contentHeight())
        return std::nullopt;
    const auto after = std::upper_bound(columnLefts_.begin(), columnLefts_.end(), content.x());
    const int column = int(after - columnLefts_.begin()) - 1;
    return Cell{column, content.y() / rowPitch()};
}

MapView::Selection MapView::selection() const {
    return {std::min(current_.column, anchor_.column), std::min(current_.row, anchor_.row),
            std::max(current_.column, anchor_.column), std::max(current_.row, anchor_.row)};
}

bool MapView::isSelected(int column, int row) const {
    const Selection s = selection();
    return column >= s.left && column <= s.right && row >= s.top && row <= s.bottom;
}

// --- size and options -------------------------------------------------------------------

void MapView::setRowCount(int rows) {
    rowCount_ = std::max(1, rows);
    contentChanged();
}

void MapView::setColumnCount(int columns) {
    columnWidths_.resize(std::max(1, columns), DefaultCellSize);
    contentChanged();
}

void MapView::setGridLineWidth(int width) {
    lineWidth_ = std::clamp(width, 0, 1);
    contentChanged();
}

void MapView::setColumnWidth(int column, int width) {
    columnWidths_.at(column) = std::max(MinimumColumnWidth, width);
    contentChanged();
}

void MapView::contentChanged() {
    recomputeColumnLefts();
    keepCellsInRange();
    updateScrollBars();
    viewport()->update();
}

void MapView::keepCellsInRange() {
    const auto inRange = [this](Cell cell) {
        return Cell{std::min(cell.column, columnCount() - 1), std::min(cell.row, rowCount_ - 1)};
    };
    current_ = inRange(current_);
    anchor_ = inRange(anchor_);
}

void MapView::updateScrollBars() {
    const QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth() - visible.width()));
    horizontalScrollBar()->setPageStep(visible.width());
    horizontalScrollBar()->setSingleStep(DefaultCellSize + lineWidth_);
    verticalScrollBar()->setRange(0, std::max(0, contentHeight() - visible.height()));
    verticalScrollBar()->setPageStep(visible.height());
    verticalScrollBar()->setSingleStep(rowPitch());
}

void MapView::setPenColor(const QColor& color) {
    pen_.setColor(color);
}

// --- current cell and selection -----------------------------------------------------------

void MapView::setCurrentRow(int row) {
    moveCurrentCollapsed({current_.column, std::clamp(row, 0, rowCount_ - 1)});
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
    if (column < 0 || column >= columnCount() || row < 0 || row >= rowCount_)
        return;
    const QRect rect = cellRect(column, row);
    if (rect.intersects(viewport()->rect()))
        viewport()->update(rect);
}

void MapView::repaintAll() {
    viewport()->update();
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion& region = event->region();
    const QRect area = region.boundingRect();
    if (const std::optional<CellRange> cells = cellsIn(area)) {
        if (lineWidth_ == 1)
            pen_ = QPen(GridLineColor, 1);
        // While no tile reaches into the next cell, a row's black and grid lines can be laid
        // in one copy of the prepared row band before its cells: the pixels are the same as
        // with the lines first and each cell filled in turn, at a fraction of the cost.
        const bool bandPerRow = tilesStayInTheirCells();
        if (!bandPerRow && lineWidth_ == 1)
            paintGridLines(painter, *cells);
        painter.setPen(pen_);
        canvas_ = &painter;
        CellFill fill{painter, palette().brush(QPalette::Active, QPalette::Highlight),
                      QBrush(BackgroundColor), selection()};
        painter.setBrush(fill.background);
        // A region of one rectangle (a whole repaint, one cell) meets every cell in the range.
        const bool everyCellMeets = region.rectCount() == 1;
        const QPoint offset = scrollOffset();
        for (int row = cells->top; row <= cells->bottom; ++row) {
            if (bandPerRow)
                paintRowBand(painter, row, area);
            const int top = row * rowPitch() - offset.y();
            for (int column = cells->left; column <= cells->right; ++column) {
                const QRect rect(columnLefts_[column] - offset.x(), top, columnWidths_[column],
                                 DefaultCellSize);
                if (everyCellMeets || region.intersects(rect))
                    paintCell(fill, column, row, rect, !bandPerRow);
            }
        }
        canvas_ = nullptr;
        if (hasFocus())
            paintFocusRect(painter);
    }
    paintBeyondLastCell(painter, area);
}

std::optional<MapView::CellRange> MapView::cellsIn(const QRect& area) const {
    const std::optional<Cell> first =
        cellAt(QPoint(std::max(0, area.left()), std::max(0, area.top())));
    if (!first)
        return std::nullopt;
    const QPoint bottomRight = area.bottomRight() + scrollOffset();
    const auto after = std::upper_bound(columnLefts_.begin(), columnLefts_.end(), bottomRight.x());
    return CellRange{first->column, first->row,
                     std::min(columnCount() - 1, int(after - columnLefts_.begin()) - 1),
                     std::min(rowCount_ - 1, bottomRight.y() / rowPitch())};
}

bool MapView::tilesStayInTheirCells() const {
    return std::all_of(columnWidths_.begin(), columnWidths_.end(),
                       [](int width) { return width >= DefaultCellSize; });
}

void MapView::paintCell(CellFill& fill, int column, int row, const QRect& rect,
                        bool backgroundToo) {
    const Selection& s = fill.selection;
    const bool selected = column >= s.left && column <= s.right && row >= s.top && row <= s.bottom;
    // The brush is the handler's fill colour; it is set only when it changes, as this runs
    // for every cell.
    if (selected != fill.brushIsHighlight) {
        fill.painter.setBrush(selected ? fill.highlight : fill.background);
        fill.brushIsHighlight = selected;
    }
    if (selected || backgroundToo)
        fill.painter.fillRect(rect, selected ? fill.highlight : fill.background);
    if (drawCell_) {
        int state = selected ? Selected : Normal;
        if (current_ == Cell{column, row} && hasFocus())
            state |= Focused;
        drawCell_(column, row, rect, state);
    }
}

void MapView::rebuildRowBand() {
    rowBand_ = QImage(std::max(1, contentWidth()), rowPitch(), QImage::Format_RGB32);
    rowBand_.fill(BackgroundColor);
    if (lineWidth_ == 0)
        return;
    QPainter painter(&rowBand_);
    for (int column = 0; column < columnCount(); ++column)
        painter.fillRect(columnLeft(column + 1) - 1, 0, 1, rowPitch(), GridLineColor);
    painter.fillRect(0, DefaultCellSize, contentWidth(), 1, GridLineColor);
}

void MapView::paintRowBand(QPainter& painter, int row, const QRect& area) {
    const QPoint offset = scrollOffset();
    const QRect band(-offset.x(), row * rowPitch() - offset.y(), contentWidth(), rowPitch());
    const QRect visible = band & area;
    if (!visible.isEmpty())
        painter.drawImage(visible.topLeft(), rowBand_, visible.translated(-band.topLeft()));
}

void MapView::paintGridLines(QPainter& painter, const CellRange& cells) {
    const int firstColumn = cells.left;
    const int lastColumn = cells.right;
    const int firstRow = cells.top;
    const int lastRow = cells.bottom;
    const QPoint offset = scrollOffset();
    const int top = firstRow * rowPitch() - offset.y();
    const int bottom = (lastRow + 1) * rowPitch() - offset.y();
    const int left = columnLeft(firstColumn) - offset.x();
    const int right = columnLeft(lastColumn + 1) - offset.x();
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const int x = columnLeft(column + 1) - 1 - offset.x();
        painter.fillRect(x, top, 1, bottom - top, GridLineColor);
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        const int y = (row + 1) * rowPitch() - 1 - offset.y();
        painter.fillRect(left, y, right - left, 1, GridLineColor);
    }
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
    const int right = contentWidth() - offset.x();
    const int bottom = contentHeight() - offset.y();
    if (area.right() >= right)
        painter.fillRect(QRect(QPoint(right, area.top()), area.bottomRight()), BackgroundColor);
    if (area.bottom() >= bottom)
        painter.fillRect(QRect(QPoint(area.left(), bottom),
                               QPoint(std::min(right - 1, area.right()), area.bottom())),
                         BackgroundColor);
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
    if (content.y() < 0 || content.y() >= contentHeight())
        return std::nullopt;
    for (int column = 0; column < columnCount(); ++column) {
        // The first pixel right of the cell: its grid line, or the next cell without lines.
        const int edge = columnLeft(column) + columnWidth(column);
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

void MapView::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);
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
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (resizingColumn_) {
        setColumnWidth(*resizingColumn_, resizeStartWidth_ + position.x() - resizeStartX_);
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
    if (event->button() == Qt::LeftButton) {
        selecting_ = false;
        resizingColumn_.reset();
    }
    updateCursor(event->position().toPoint());
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event); // a second right or middle press is a press like the first
        return;
    }
    if (columnBorderAt(event->position().toPoint()))
        return;
    if (const auto cell = cellAt(event->position().toPoint()))
        moveTo(*cell, event->modifiers() & Qt::ShiftModifier);
    emit doubleClicked();
}

// --- keyboard ---------------------------------------------------------------------------

void MapView::keyPressEvent(QKeyEvent* event) {
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
                  std::clamp(from.row + dy, 0, rowCount_ - 1)};
    moveTo(to, anchorOnly);
    scrollToCell(to);
    event->accept();
}
