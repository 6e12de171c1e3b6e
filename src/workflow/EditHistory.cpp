#include "EditHistory.h"

#include "CellEditCommand.h"
#include "EditorState.h"
#include "LoadCommand.h"
#include "StageChangeCommand.h"

#include <optional>

EditHistory::EditHistory(EditorState& stan, QObject* parent) : QObject(parent), stan_(stan) {
    stack_.setUndoLimit(UndoLimit);
}

// The core's edits report the cells they wrote but not what those held: a copy of the array
// taken before (6.7 KB, far below a microsecond) supplies it, and only changed cells are kept.
krelwin::ZapisanePola
EditHistory::recordCellEdit(const std::function<krelwin::ZapisanePola()>& edit) {
    const krelwin::Plansza before = stan_.etap.plansza;
    krelwin::ZapisanePola written = edit();
    ZmianyPol changes = changedCells(before, stan_.etap.plansza, written);
    if (!changes.empty()) {
        stan_.announceCellsChanged(changes);
        stack_.push(new CellEditCommand(stan_, std::move(changes)));
    }
    return written;
}

void EditHistory::recordStageChange(const std::function<void()>& change, Name name) {
    krelwin::Etap before = stan_.etap;
    const QString nameBefore = stan_.BiezacyEtap();
    change();
    const bool renamed = name == Name::Changed && stan_.BiezacyEtap() != nameBefore;
    if (stan_.etap == before && !renamed) {
        return;
    }
    stan_.announceStageReplaced();
    stack_.push(new StageChangeCommand(stan_, std::move(before),
                                       name == Name::Changed ? std::optional<QString>(nameBefore)
                                                             : std::nullopt));
}

void EditHistory::recordLoad(ContextSwitch& contexts, krelwin::Etap before,
                             EditingContext contextBefore) {
    stack_.push(new LoadCommand(stan_, contexts, std::move(before), std::move(contextBefore)));
}
