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
// changed becomes its message followed by what a fresh reading of the list did to the
// selection.
void writeGuarded(StageListModel& list, const std::string& path,
                  const std::function<void()>& write);

class PackCommands {
public:
    PackCommands(EditorState& stan, StageListModel& list, UserDialogue& dialogue,
                 CommandRunner& runner);

    // Each returns whether it ran to its end.
    bool zmienNazwe(int index, const QString& name);
    bool przesunEtap(int from, int to);
    bool powielEtap(int index);
    bool usunEtap(int index);

private:
    std::string currentPath() const;
    void showRearranged(int selected, const std::function<int(int)>& newPosition);

    EditorState& stan_;
    StageListModel& list_;
    UserDialogue& dialogue_;
    CommandRunner& runner_;
};
