#include "DrawingControls.h"

#include "ChangeCount.h"
#include "DialogHelpers.h"
#include "DrawingModes.h"
#include "EditorState.h"
#include "EditorStatusBar.h"
#include "FileWorkflow.h"
#include "Picker.h"
#include "ToolKeys.h"
#include "aarys.h"

#include <QAction>
#include <QLabel>

DrawingControls::DrawingControls(TForm1& window, FileWorkflow& workflow)
    : QObject(&window), window_(window), workflow_(workflow) {
    EditorState& stan = workflow.stan();
    EditHistory& history = workflow.history();
    modes_ = new tools::DrawingModes(
        {stan.etap, *window.DG1, [&stan] { return stan.Narzedzie; },
         [&history](const tools::Edit& edit) { return history.recordCellEdit(edit); }},
        &window);
    connect(modes_, &tools::DrawingModes::modeChanged, this, &DrawingControls::showMode);
    connect(modes_, &tools::DrawingModes::cellsChanged, this,
            [this](int count) { window_.StatusBar1->showRemark(tools::changedCellsText(count)); });
    // A gesture's own commit changes cells too; by then the tool has let the gesture go, and
    // the cancel only drops the preview that the commit drops anyway.
    connect(&stan, &EditorState::cellsChanged, modes_, &tools::DrawingModes::cancel);
    connect(&stan, &EditorState::stageReplaced, modes_, &tools::DrawingModes::cancel);
    connect(window.DG1, &MapView::middlePressed, this, &DrawingControls::pick);
    addToolKeys();
    showMode();
}

QMenu* DrawingControls::menu() const {
    return modes_->menu();
}

void DrawingControls::press(std::optional<MapView::Cell> cell, Qt::KeyboardModifiers modifiers) {
    modes_->press(cell, modifiers);
}

// A shortcut of the window's own acts only while the window is the active one, so a dialog
// with the keyboard takes the letters typed into it; a field of the window would too.
void DrawingControls::addToolKeys() {
    for (int number = 1; number <= int(tools::ToolButtonKeys.size()); ++number) {
        auto* key = new QAction(this);
        key->setShortcut(tools::ToolButtonKeys[std::size_t(number - 1)].key);
        key->setShortcutContext(Qt::WindowShortcut);
        key->setAutoRepeat(false); // held down, it would switch its tool on and off
        window_.addAction(key);
        connect(key, &QAction::triggered, this, [this, number] {
            runHandler(&window_, [this, number] { window_.ToolButtonClick(number); });
        });
    }
}

void DrawingControls::pick(MapView::Cell cell) {
    EditorState& stan = workflow_.stan();
    const std::optional<char> picked =
        tools::pickedTool(stan.etap.plansza.at(cell.column, cell.row));
    if (!picked)
        return;
    stan.Narzedzie = *picked;
    showPressedTool(window_.ToolButtons, stan.Narzedzie);
}

void DrawingControls::showMode() {
    window_.StatusBar1->LTryb->setText(modes_->statusText());
}
