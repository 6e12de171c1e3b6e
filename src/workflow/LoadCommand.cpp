#include "LoadCommand.h"

#include "EditorState.h"

#include <utility>

LoadCommand::LoadCommand(EditorState& stan, ContextSwitch& contexts, krelwin::Etap before,
                         EditingContext contextBefore)
    : stan_(stan), contexts_(contexts), other_(std::move(before)),
      otherContext_(std::move(contextBefore)) {}

void LoadCommand::undo() {
    swapWithState();
}

void LoadCommand::redoChange() {
    swapWithState();
}

void LoadCommand::swapWithState() {
    EditingContext now = contexts_.currentContext();
    contexts_.switchTo(otherContext_);
    otherContext_ = std::move(now);
    stan_.swapStage(other_);
}
