#include "EditorState.h"

#include <utility>

void EditorState::setBiezacyPlik(const QString& path) {
    biezacyPlik_ = path;
    emit biezacyPlikChanged(path);
}

void EditorState::setBiezacyEtap(const QString& name) {
    biezacyEtap_ = name;
    emit biezacyEtapChanged(name);
}

void EditorState::writeCells(const ZmianyPol& changes) {
    for (const ZmianaPola& zmiana : changes) {
        etap.plansza.at(zmiana.column, zmiana.row) = zmiana.po;
    }
    emit cellsChanged(changes);
}

void EditorState::swapStage(krelwin::Etap& other) {
    std::swap(etap, other);
    emit stageReplaced();
}
