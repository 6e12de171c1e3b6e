#include "EditorState.h"

void EditorState::setBiezacyPlik(const QString& path) {
    biezacyPlik_ = path;
    emit biezacyPlikChanged(path);
}

void EditorState::setBiezacyEtap(const QString& name) {
    biezacyEtap_ = name;
    emit biezacyEtapChanged(name);
}
