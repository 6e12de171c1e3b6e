// A drawing tool of the map view: what a right-button gesture does in one drawing mode. The
// view reports the gesture (the press, each move into another cell, the release, or a cancel
// by Escape or a left press); the tool shows what it would change as the view's preview and
// makes its change as ONE edit through the commit callback, which the window connects to its
// edit history, so that each stroke or shape is one step of "Cofnij".
//
// The stage is only read outside a committed edit; the edit itself writes it through the core's
// drawing operations and returns the cells it wrote, which the tool then redraws.
#pragma once

#include "MapView.h"
#include "editing.h"

#include <functional>
#include <optional>

namespace tools {

using Cell = MapView::Cell;
using Edit = std::function<krelwin::ZapisanePola()>;
// Runs an edit of cells as one step of the history; returns the cells it wrote.
using Commit = std::function<krelwin::ZapisanePola(const Edit&)>;

// What every tool works on, given by the window.
struct ToolContext {
    krelwin::Etap& etap;             // the stage in memory
    MapView& view;                   // its selection, current cell and preview
    std::function<char()> narzedzie; // the current tool's code
    Commit commit;
};

class DrawingTool {
public:
    explicit DrawingTool(ToolContext context) : context_(std::move(context)) {}
    virtual ~DrawingTool() = default;
    DrawingTool(const DrawingTool&) = delete;
    DrawingTool& operator=(const DrawingTool&) = delete;

    // A right press, on a cell or where the view has none.
    virtual void press(std::optional<Cell> cell, Qt::KeyboardModifiers modifiers) = 0;
    virtual void move(Cell) {}
    virtual void release(Cell) {}
    // Drops the gesture in progress and its preview: nothing changes.
    virtual void cancel() { view().clearPreview(); }

    // Told the number of cells each committed edit changed, where the tool reports it.
    void setChangeReport(std::function<void(int)> report) { report_ = std::move(report); }

protected:
    const krelwin::Etap& etap() const { return context_.etap; }
    krelwin::Etap& stage() { return context_.etap; } // for the edits to write into
    MapView& view() { return context_.view; }
    char narzedzie() const { return context_.narzedzie(); }

    // Shows the cells as they would look with the code.
    void showPreview(const krelwin::ZapisanePola& cells, char code);
    // Runs the edit as one step, then drops the preview and redraws the cells it wrote.
    krelwin::ZapisanePola commitEdit(const Edit& edit);
    void reportChange(int cells) {
        if (report_)
            report_(cells);
    }

    static krelwin::Pole poleOf(Cell cell) { return {cell.column, cell.row}; }

private:
    ToolContext context_;
    std::function<void(int)> report_;
};

} // namespace tools
