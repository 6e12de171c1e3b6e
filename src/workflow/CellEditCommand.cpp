#include "CellEditCommand.h"

#include "EditorState.h"

#include <utility>

CellEditCommand::CellEditCommand(EditorState& stan, ZmianyPol changes)
    : stan_(stan), changes_(std::move(changes)) {}

void CellEditCommand::undo() {
    ZmianyPol back = changes_;
    for (ZmianaPola& zmiana : back) {
        std::swap(zmiana.przed, zmiana.po);
    }
    stan_.writeCells(back);
}

void CellEditCommand::redoChange() {
    stan_.writeCells(changes_);
}
