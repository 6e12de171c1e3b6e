// The stage's counts in the status bar's label LLiczniki: "Diamenty: N/M" always, and "Start: N"
// or "Wyjście: N" while the stage holds not exactly one, in bold red so that they catch the eye.
// They follow the editing state: each changed cell of an edit, an undo or a redo is one step of
// the counter, and only a stage replaced as a whole (a load, a new stage, new parameters, a
// generator run, the undo of any of them) is counted anew. Shown once a file is open.
#pragma once

#include "CellChange.h"
#include "interior_counter.h"

#include <optional>

#include <QObject>

class EditorState;
class FileWorkflow;
class QLabel;

class StageCounts : public QObject {
    Q_OBJECT

public:
    StageCounts(FileWorkflow& workflow, QLabel* label, QObject* parent = nullptr);

    // The counts of the stage in memory, kept up to date.
    const krelwin::CellCounts& counts() const { return counter_.counts(); }

private:
    void countAnew();
    void countChanges(const ZmianyPol& changes);
    void show();

    FileWorkflow& workflow_;
    EditorState& stan_;
    QLabel* label_;
    krelwin::InteriorCounter counter_;
    std::optional<krelwin::StatusCounts> shown_;
};
