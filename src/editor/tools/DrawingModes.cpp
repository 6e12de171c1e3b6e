#include "DrawingModes.h"

#include "BrushTool.h"
#include "FillTool.h"
#include "LineTool.h"
#include "RectangleTool.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

namespace tools {

namespace {

struct ModeItem {
    DrawingMode mode;
    const char* caption;
    QKeyCombination key;
};

constexpr std::array<ModeItem, DrawingModes::ModeCount> ModeItems{{
    {DrawingMode::Brush, "Pędzel", Qt::Key_P},
    {DrawingMode::Line, "Linia", Qt::Key_L},
    {DrawingMode::Rectangle, "Prostokąt", Qt::Key_R},
    {DrawingMode::FilledRectangle, "Prostokąt pełny", Qt::SHIFT | Qt::Key_R},
    {DrawingMode::Fill, "Wypełnianie", Qt::Key_F},
}};

} // namespace

DrawingModes::DrawingModes(ToolContext context, QWidget* window)
    : QObject(window), group_(new QActionGroup(this)),
      menu_(new QMenu(QStringLiteral("&Narzędzia"), window)) {
    tools_ = {std::make_unique<BrushTool>(context), std::make_unique<LineTool>(context),
              std::make_unique<RectangleTool>(context, krelwin::RectangleFill::Outline),
              std::make_unique<RectangleTool>(context, krelwin::RectangleFill::Filled),
              std::make_unique<FillTool>(context)};
    tools_[std::size_t(DrawingMode::Fill)]->setChangeReport(
        [this](int count) { emit cellsChanged(count); });
    for (const ModeItem& item : ModeItems) {
        QAction* action = menu_->addAction(QString::fromUtf8(item.caption));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(item.key));
        action->setShortcutContext(Qt::WindowShortcut);
        group_->addAction(action);
        window->addAction(action); // the shortcut works while the menu is closed, too
        const DrawingMode mode = item.mode;
        connect(action, &QAction::triggered, this, [this, mode] { setMode(mode); });
        actions_[std::size_t(mode)] = action;
    }
    actions_[std::size_t(mode_)]->setChecked(true);

    MapView& view = context.view;
    connect(&view, &MapView::dragMoved, this, [this](Cell cell) { tool().move(cell); });
    connect(&view, &MapView::dragReleased, this, [this](Cell cell) { tool().release(cell); });
    connect(&view, &MapView::dragCancelled, this, [this] { tool().cancel(); });
}

DrawingModes::~DrawingModes() = default;

QAction* DrawingModes::action(DrawingMode mode) const {
    return actions_[std::size_t(mode)];
}

void DrawingModes::setMode(DrawingMode mode) {
    actions_[std::size_t(mode)]->setChecked(true);
    if (mode == mode_)
        return;
    tool().cancel();
    mode_ = mode;
    emit modeChanged(mode);
}

QString DrawingModes::statusText() const {
    return QStringLiteral("Tryb: %1").arg(actions_[std::size_t(mode_)]->text());
}

void DrawingModes::press(std::optional<Cell> cell, Qt::KeyboardModifiers modifiers) {
    tool().press(cell, modifiers);
}

void DrawingModes::cancel() {
    tool().cancel();
}

} // namespace tools
