// The steps of the editor's history ("Cofnij" and "Ponów", a QUndoStack of the main window).
// Every change to the stage in memory is one step of one of two kinds:
//
//   - a cell edit (paint, fill, turn, "Wytnij", "Wklej", "Skasuj") keeps only the cells it
//     changed, with their codes before and after, and redraws just those cells when it is
//     undone or redone, as the edit itself did;
//   - a whole-stage change (a load, "Nowy", "Nowy etap", "Parametry etapu", "Generator map")
//     keeps the other version of the whole stage with its name, swaps it with the one in memory
//     on undo and redo, and repaints and resizes the view.
//
// Each step is pushed after its change was made, so its first redo, the one QUndoStack::push
// runs, does nothing.
#pragma once

#include "editing.h"
#include "plansza.h"

#include <QString>
#include <QUndoCommand>

#include <cstdint>
#include <vector>

class EditorState;
class TForm1;

// One cell a cell edit changed. Columns and rows are 0..81, so a byte each is enough and a
// change takes four bytes.
struct ZmianaPola {
    uint8_t column;
    uint8_t row;
    char przed;
    char po;
};

// The stage in memory together with its name BiezacyEtap: what a whole-stage step keeps.
struct StanEtapu {
    krelwin::Etap etap;
    QString nazwa;
    bool operator==(const StanEtapu&) const = default;
};

class CellEditCommand : public QUndoCommand {
public:
    // The cells of `written` whose code in `after` differs from `before`, in the order written.
    static std::vector<ZmianaPola> changedCells(const krelwin::Plansza& before,
                                                const krelwin::Plansza& after,
                                                const krelwin::ZapisanePola& written);

    // The cells are written into `stan`'s stage and redrawn in `window`'s map view.
    CellEditCommand(EditorState& stan, TForm1& window, std::vector<ZmianaPola> changes);
    void undo() override;
    void redo() override;

private:
    void write(bool after);

    EditorState& stan_;
    TForm1& window_;
    std::vector<ZmianaPola> changes_;
    bool pushed_ = false;
};

class WholeStageCommand : public QUndoCommand {
public:
    // `other` is the stage as it was before the change that is now in memory.
    // The stage is swapped with `stan`'s and shown whole in `window`.
    WholeStageCommand(EditorState& stan, TForm1& window, StanEtapu other);
    void undo() override;
    void redo() override;

private:
    void swapWithState();

    EditorState& stan_;
    TForm1& window_;
    StanEtapu other_;
    bool pushed_ = false;
};
