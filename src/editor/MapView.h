// The map view: a scrollable grid of owner-drawn cells with a current cell and a range
// selection. It holds no cell data; every cell it paints is drawn by the draw-cell handler.
//
//   - cells 28x28 by default, with grid lines of width 0 or 1 between them (a line belongs to
//     the cell left of or above it);
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
//   - mousePressed() after the view's own handling of a press; the second press of a left
//     double-click raises doubleClicked() instead; a left press on a column border starts a
//     resize of that column and raises nothing.
#pragma once

#include "CellGrid.h"

#include <QAbstractScrollArea>
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
    enum CellState { Normal = 0, Selected = 1, Focused = 2 };
    using DrawCellHandler =
        std::function<void(int column, int row, const QRect& rect, int cellStateFlags)>;

    explicit MapView(QWidget* parent = nullptr);

    void setDrawCellHandler(DrawCellHandler handler) { drawCell_ = std::move(handler); }

    int rowCount() const { return grid_.rowCount(); }
    int columnCount() const { return grid_.columnCount(); }
    void setRowCount(int rows);
    void setColumnCount(int columns);

    int gridLineWidth() const { return grid_.lineWidth(); }
    void setGridLineWidth(int width); // 0 or 1

    int columnWidth(int column) const { return grid_.columnWidth(column); }
    void setColumnWidth(int column, int width);

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

    // The pen of the view's canvas, shared by the grid lines and the handler's drawing.
    QPen pen() const { return pen_; }
    void setPenColor(const QColor& color);

    // Repaints just the cell's rectangle (at the next paint); nothing when it is scrolled away.
    void repaintCell(int column, int row);
    // Repaints every visible cell.
    void repaintAll();

    // The painter while a paint is in progress, else null: the draw-cell handler draws on it.
    QPainter* canvas() const { return canvas_; }

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
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

    void paintBeyondLastCell(QPainter& painter, const QRect& area);
    void paintFocusRect(QPainter& painter);

    // Sizes, grid lines and the row band the cells are painted on.
    krelwin::render::CellGrid grid_{5, 5, 1};
    Cell current_{0, 0};
    Cell anchor_{0, 0};
    QPen pen_{Qt::black, 1};
    DrawCellHandler drawCell_;
    QPainter* canvas_ = nullptr;

    bool selecting_ = false;
    std::optional<int> resizingColumn_;
    int resizeStartX_ = 0;
    int resizeStartWidth_ = 0;
};
