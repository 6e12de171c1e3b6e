// The stage list's own commands on the current file's records: rename, move, duplicate and
// delete. Each runs at once on the file, under the name guard: the file must still hold, at the
// position written, the name the list shows there. Refused, the list is read again and the user
// told what became of the selection. The stage in memory is not touched, and none of them is a
// step of the history: the file belongs to the game.
#pragma once

#include <QString>

#include <functional>
#include <string>

class CommandRunner;
class EditorState;
class StageListModel;
class UserDialogue;

// Runs a write by position into `path`, whose stage list is `list`; a refusal because the file
// changed becomes its message (or `refusal`, when given) followed by what a fresh reading of
// the list did to the selection.
void writeGuarded(StageListModel& list, const std::string& path, const std::function<void()>& write,
                  const QString& refusal = QString());

// A stage as the overview of the pack shows it: its position in the file, past the hundredth
// too, and the name shown there, which the name guard expects the file to hold.
struct ShownStage {
    int position;
    QString name;
};

class PackCommands {
public:
    PackCommands(EditorState& stan, StageListModel& list, UserDialogue& dialogue,
                 CommandRunner& runner);

    // Each returns whether it ran to its end.
    bool zmienNazwe(int index, const QString& name);
    bool przesunEtap(int from, int to);
    bool powielEtap(int index);
    bool usunEtap(int index);

    // The same commands on a stage the overview shows, anywhere in the file; a move takes it
    // to any position. The list is read again afterwards, and its selection (where "Zapisz"
    // writes) follows its stage; when that stage is deleted or moves past the list's reach,
    // nothing stays selected and the user is told.
    bool przesunEtap(const ShownStage& stage, int to);
    bool powielEtap(const ShownStage& stage);
    bool usunEtap(const ShownStage& stage);

private:
    std::string currentPath() const;
    void showRearranged(int selected, const std::function<int(int)>& newPosition);
    // Runs `write` with the shown stage's name as the file holds it, under the name guard.
    void writeShown(const ShownStage& stage, const std::function<void(const std::string&)>& write);
    void followSelection(const std::function<int(int)>& newPosition);
    bool askToDelete(int index, const QString& name);

    EditorState& stan_;
    StageListModel& list_;
    UserDialogue& dialogue_;
    CommandRunner& runner_;
};
