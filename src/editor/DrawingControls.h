// What the main window adds to its toolbar and map view for drawing:
//
//   - the drawing modes of the right button (tools::DrawingModes) with their menu "&Narzędzia",
//     every stroke, shape and fill committed as ONE step of the edit history; the mode in force
//     shown by the status bar's LTryb, and the count of a fill as a passing remark;
//   - the toolbar's keys (tools::ToolButtonKeys), each acting as a click of its button, in the
//     main window only: a dialog that has the keyboard keeps its letters;
//   - the picker: a middle press on a cell makes its exact code the current tool and shows its
//     kind's button pressed, filling no selection.
//
// A gesture in progress is dropped whenever the stage changes under it: an undo or redo, a
// load, new parameters, a fill of the selection by a tool key.
#pragma once

#include "MapView.h"

#include <QObject>

#include <optional>

class FileWorkflow;
class QMenu;
class TForm1;

namespace tools {
class DrawingModes;
}

class DrawingControls : public QObject {
    Q_OBJECT

public:
    // Built once the window has its toolbar, map view and status bar.
    DrawingControls(TForm1& window, FileWorkflow& workflow);

    // "&Narzędzia", for the menu bar after "&Opcje".
    QMenu* menu() const;

    // A right press in the map view: at a cell, or where the view has none.
    void press(std::optional<MapView::Cell> cell, Qt::KeyboardModifiers modifiers);

private:
    void addToolKeys();
    void pick(MapView::Cell cell);
    void showMode();

    TForm1& window_;
    FileWorkflow& workflow_;
    tools::DrawingModes* modes_; // owned by the window, as its menu is
};
