// The drawing modes of the map view's right button, as the window's menu "&Narzędzia" offers
// them: an exclusive group of checkable items with one-key shortcuts, one tool per mode, and the
// routing of the view's gestures to the tool of the mode in force.
//
//   "Pędzel" (P), the mode at start; "Linia" (L); "Prostokąt" (R); "Prostokąt pełny" (Shift+R);
//   "Wypełnianie" (F).
//
// The shortcuts belong to the window given at construction and act only while it is the active
// window, never while a dialog has the keyboard. The mode is not stored anywhere: each run
// starts with "Pędzel".
#pragma once

#include "DrawingTool.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace tools {

enum class DrawingMode { Brush, Line, Rectangle, FilledRectangle, Fill };

class DrawingModes : public QObject {
    Q_OBJECT

public:
    static constexpr int ModeCount = 5;

    // The tools draw on `context`; the shortcuts act in `window`, which owns the menu.
    DrawingModes(ToolContext context, QWidget* window);
    ~DrawingModes() override;

    // "&Narzędzia" with the five items, for the window's menu bar.
    QMenu* menu() const { return menu_; }
    QActionGroup* group() const { return group_; }
    QAction* action(DrawingMode mode) const;

    DrawingMode mode() const { return mode_; }
    // Cancels a gesture in progress and puts the mode in force, its item checked.
    void setMode(DrawingMode mode);
    // What the status line shows: "Tryb: Pędzel".
    QString statusText() const;

    // A right press in the view, at a cell or where it has none; the view's drag signals reach
    // the tool by themselves.
    void press(std::optional<Cell> cell, Qt::KeyboardModifiers modifiers);
    // Drops the gesture in progress (the stage changed under it, say).
    void cancel();

signals:
    void modeChanged(tools::DrawingMode mode);
    // An edit of "Wypełnianie" changed this many cells.
    void cellsChanged(int count);

private:
    DrawingTool& tool() { return *tools_[std::size_t(mode_)]; }

    std::array<std::unique_ptr<DrawingTool>, ModeCount> tools_;
    std::array<QAction*, ModeCount> actions_{};
    QActionGroup* group_;
    QMenu* menu_;
    DrawingMode mode_ = DrawingMode::Brush;
};

} // namespace tools
