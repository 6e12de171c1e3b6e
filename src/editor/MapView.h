// The map view: a scrollable grid of owner-drawn cells with a current cell and a range
// selection. It holds no cell data; every cell it paints is drawn by the draw-cell handler.
//
//   - cells 28x28 by default, with grid lines of width 0 or 1 between them (a line belongs to
//     the cell left of or above it);
//   - a scale (25, 50, 100 or 200 %) at which cells, lines, marks and column widths are shown;
//     Ctrl + mouse wheel steps through the scales (up = larger), keeping the point under the
//     mouse in place; every position and rectangle the view reports is on the screen;
//   - a current cell and an anchor; the selection is the rectangle they span. A left press or
//     an arrow key moves both; a left drag, Shift + left press or Shift + arrow moves only the
//     anchor; right and middle presses move neither;
//   - setCurrentRow/setCurrentColumn move the current cell, collapse the selection onto it and
//     scroll it into view;
//   - cellAt() reports no cell for a point beyond the last column or row;
//   - painting, row by row and within a row column by column: the grid lines, then for each
//     cell the highlight (selected) or black fill, left as the painter's brush, then the
//     draw-cell handler, then the focus rectangle on the current cell; the area beyond the
//     last column and row is black;
//   - while the grid lines are on, the painter's pen (shared with the handler) is silver and
//     one pixel wide; with width 0 the pen is left as it was;
//   - an overlay text, when set, is drawn over the top-left corner after the cells;
//   - mousePressed() after the view's own handling of a press; the second press of a left
//     double-click raises doubleClicked() instead; a left press on a column border starts a
//     resize of that column and raises nothing; a middle press on a cell also raises
//     middlePressed();
//   - a right press begins a drag: each move of the held button into another cell raises
//     dragMoved() and the release dragReleased(); Escape or a left press ends it with
//     dragCancelled() instead, and the left press does nothing else;
//   - a preview: cells drawn with a code of their own instead of the handler's drawing; a new
//     preview repaints only the cells whose look it changes.
#pragma once

#include "CellGrid.h"
#include "PreviewLayer.h"
#include "TileSet.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPen>

#include <functional>
#include <optional>

class QPainter;

class MapView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int DefaultCellSize = 28;

    // The grid's own cell and rectangle types, shared with the picture renderer.
    using Cell = krelwin::render::GridCell;
    using Selection = krelwin::render::CellRange;
    // Draws one cell on the view's painter during a paint, into `rect` (viewport coordinates)
    // with the painter's brush as its fill colour and its pen as the marks' colour.
    using DrawCellHandler =
        std::function<void(QPainter& canvas, int column, int row, const QRect& rect)>;

    explicit MapView(QWidget* parent = nullptr);

    void setDrawCellHandler(DrawCellHandler handler) { drawCell_ = std::move(handler); }

    int rowCount() const { return grid_.rowCount(); }
    int columnCount() const { return grid_.columnCount(); }
    void setRowCount(int rows);
    void setColumnCount(int columns);

    void setGridLineWidth(int width); // 0 or 1

    // A column's width at full size (100 %); dragging a border changes it.
    int columnWidth(int column) const { return grid_.columnWidth(column); }
    void setColumnWidth(int column, int width);

    // The scale in percent, 100 at start. Setting it keeps the point at the middle of the view
    // in place.
    int scalePercent() const { return grid_.scale().percent(); }
    void setScalePercent(int percent);
    // The tiles at the view's scale, for the draw-cell handler.
    const krelwin::render::TileSet& tiles() const { return tiles_; }

    Cell currentCell() const { return current_; }
    int currentRow() const { return current_.row; }
    int currentColumn() const { return current_.column; }
    void setCurrentRow(int row);
    void setCurrentColumn(int column);
    Selection selection() const;

    // The cell's rectangle in viewport coordinates; its right edge is left + the column's width.
    QRect cellRect(int column, int row) const;
    // The cell under a viewport point, or nothing beyond the last column or row.
    std::optional<Cell> cellAt(const QPoint& viewportPoint) const;

    // The colour of the pen the handler draws marks with, until grid lines are painted (they
    // set it to their silver).
    void setPenColor(const QColor& color);

    // A text drawn at (10, 10) over the cells, black on white, from the next paint on; an empty
    // text draws none. The view is repainted whole when it changes.
    void setOverlayText(const QString& text);
    QString overlayText() const { return overlayText_; }

    // Repaints just the cell's rectangle (at the next paint); nothing when it is scrolled away.
    void repaintCell(int column, int row);
    // Repaints every visible cell.
    void repaintAll();
    // How many cells the last paint drew, previewed or not: what a partial repaint cost.
    int cellsDrawnByLastPaint() const { return cellsDrawn_; }

    // The preview: these cells are drawn with their own code, whatever the handler would draw,
    // until the next preview. Cells beyond the grid are left out; a change of the row or
    // column count drops the preview.
    void setPreview(const std::vector<PreviewCell>& cells);
    void clearPreview() { setPreview({}); }
    std::optional<char> previewCode(int column, int row) const {
        return preview_.codeAt(column, row);
    }

    // Whether the right button's drag is in progress (pressed in the view, not yet released
    // or cancelled).
    bool isDragging() const { return rightDrag_ == RightDrag::Dragging; }

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void doubleClicked();
    // The scale changed, from the program or by Ctrl + wheel.
    void scaleChanged(int percent);
    // During a drag of the right button: the pointer reached another cell than the last one
    // reported (or than the pressed one). Beyond the grid the nearest cell is reported; the
    // cells between two reports are the receiver's to fill in.
    void dragMoved(MapView::Cell cell);
    // The right button was released, over `cell` (the nearest cell beyond the grid).
    void dragReleased(MapView::Cell cell);
    // Escape or a left press during the drag: nothing more is reported until the next right
    // press.
    void dragCancelled();
    // A middle press on a cell, after mousePressed().
    void middlePressed(MapView::Cell cell);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPoint scrollOffset() const;

    void updateScrollBars();
    void contentChanged();
    void moveTo(Cell cell, bool keepCurrent);
    void moveCurrentCollapsed(Cell cell);
    void scrollToCell(Cell cell);
    void keepCellsInRange();
    std::optional<int> columnBorderAt(const QPoint& viewportPoint) const;
    void updateCursor(const QPoint& viewportPoint);
    // Sets the scale keeping the content under `anchor` (a viewport point) in place.
    void scaleAround(int percent, QPoint anchor);

    // The cell under a viewport point or, beyond the grid, the nearest one.
    Cell nearestCell(const QPoint& viewportPoint) const;
    void startRightDrag(const QPoint& viewportPoint);
    void moveRightDrag(const QMouseEvent& event);
    void cancelRightDrag();

    void paintBeyondLastCell(QPainter& painter, const QRect& area);
    void paintFocusRect(QPainter& painter);
    void paintOverlayText(QPainter& painter);

    // Sizes, grid lines and scale.
    krelwin::render::CellGrid grid_{5, 5, 1};
    // One row of black cells with the grid lines, laid under each row's cells.
    QImage rowBand_;
    krelwin::render::TileSet tiles_ = krelwin::render::TileSet::builtIn();
    Cell current_{0, 0};
    Cell anchor_{0, 0};
    QPen pen_{Qt::black, 1};
    DrawCellHandler drawCell_;
    QString overlayText_;
    int wheelTurn_ = 0; // wheel turns with Ctrl not yet a whole step

    PreviewLayer preview_;
    int cellsDrawn_ = 0;

    // A right drag is over once the button is released; a cancelled one waits for that too.
    enum class RightDrag { None, Dragging, Cancelled };
    RightDrag rightDrag_ = RightDrag::None;
    Cell dragCell_{0, 0}; // the last cell reported, or the pressed one

    bool selecting_ = false;
    std::optional<int> resizingColumn_;
    int resizeStartX_ = 0;
    int resizeStartWidth_ = 0;
};
