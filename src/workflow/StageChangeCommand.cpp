#include "StageChangeCommand.h"

#include "EditorState.h"

#include <utility>

StageChangeCommand::StageChangeCommand(EditorState& stan, krelwin::Etap before,
                                       std::optional<QString> nameBefore)
    : stan_(stan), other_(std::move(before)), otherName_(std::move(nameBefore)) {}

void StageChangeCommand::undo() {
    swapWithState();
}

void StageChangeCommand::redoChange() {
    swapWithState();
}

void StageChangeCommand::swapWithState() {
    if (otherName_) {
        QString shown = stan_.BiezacyEtap();
        stan_.setBiezacyEtap(*otherName_);
        otherName_ = std::move(shown);
    }
    stan_.swapStage(other_);
}
