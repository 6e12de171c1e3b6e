#include "UndoCommands.h"

#include "EditorState.h"
#include "aarys.h"

#include <utility>

std::vector<ZmianaPola> CellEditCommand::changedCells(const krelwin::Plansza& before,
                                                      const krelwin::Plansza& after,
                                                      const krelwin::ZapisanePola& written) {
    std::vector<ZmianaPola> changes;
    for (const krelwin::Pole& pole : written) {
        const char przed = before.at(pole.column, pole.row);
        const char po = after.at(pole.column, pole.row);
        if (przed != po)
            changes.push_back({uint8_t(pole.column), uint8_t(pole.row), przed, po});
    }
    changes.shrink_to_fit(); // kept for as long as the step is
    return changes;
}

CellEditCommand::CellEditCommand(EditorState& stan, TForm1& window, std::vector<ZmianaPola> changes)
    : stan_(stan), window_(window), changes_(std::move(changes)) {}

void CellEditCommand::undo() {
    write(false);
}

void CellEditCommand::redo() {
    if (!pushed_) {
        pushed_ = true; // the edit has been made already
        return;
    }
    write(true);
}

void CellEditCommand::write(bool after) {
    for (const ZmianaPola& zmiana : changes_) {
        stan_.etap.plansza.at(zmiana.column, zmiana.row) = after ? zmiana.po : zmiana.przed;
        window_.RysujPole(zmiana.column, zmiana.row);
    }
}

WholeStageCommand::WholeStageCommand(EditorState& stan, TForm1& window, StanEtapu other)
    : stan_(stan), window_(window), other_(std::move(other)) {}

void WholeStageCommand::undo() {
    swapWithState();
}

void WholeStageCommand::redo() {
    if (!pushed_) {
        pushed_ = true; // the change has been made already
        return;
    }
    swapWithState();
}

// Undo and redo are the same exchange: the version kept here goes into memory and the one in
// memory is kept, so a step costs one copy of the stage, not two.
void WholeStageCommand::swapWithState() {
    std::swap(stan_.etap, other_.etap);
    QString shown = stan_.BiezacyEtap();
    stan_.setBiezacyEtap(other_.nazwa);
    other_.nazwa = std::move(shown);
    window_.showWholeStage();
}
