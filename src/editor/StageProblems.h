// The dialog "Problemy etapu": on its first page what is wrong with the stage in memory, or worth
// a second look, as `krelwin-stage check` reports it for a stage of a file, each finding with
// its column and row where it has a cell; on its second page the count and share of each kind
// of cell, with its tile, in the toolbar's order. A double click (or Enter) on a finding with a
// cell closes the dialog and selects that cell in the map view, scrolled into view. It is shown
// modally and reads the stage when it is shown: nothing changes the stage while it is open.
#pragma once

#include "DialogHelpers.h"
#include "stage_findings.h"

#include <optional>

class EditorState;
class MapView;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class StageCounts;

class StageProblems : public PlacedDialog {
public:
    StageProblems(EditorState& stan, const StageCounts& counts, MapView* view,
                  QWidget* parent = nullptr);

    // Fills both pages for the stage in memory, shows the dialog modally and, when a finding
    // was chosen, leads the map view to its cell.
    void run();

    QTabWidget* Strony;
    QTreeWidget* Problemy; // the findings, one a row
    QTreeWidget* Pola;     // the kinds of cell

private:
    void fillFindings(const std::vector<krelwin::StageFinding>& findings);
    void fillKinds();
    void chooseFinding(QTreeWidgetItem* item);

    EditorState& stan_;
    const StageCounts& counts_;
    MapView* view_;
    std::optional<krelwin::CellPosition> chosen_;
};
