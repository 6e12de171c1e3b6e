// The file workflow: the commands of "&Plik" and "E&tapy", the stage list's own commands
// (rename, move, duplicate, delete: PackCommands), the exit question and the file's changes by
// other programs, over the stage in memory, the stage list and the edit history, each command in
// the frame of a CommandRunner. It holds no widget: the forms
// show their dialogs, hand what was confirmed to a command here, and show what the workflow's
// state and signals say. Questions and messages go through a UserDialogue.
//
// Every command runs to its end or stops at an error, which is told; the steps before it stay
// done. Each keeps these rules:
//   - a command that replaces the stage in memory ("Otwórz", "Wybierz etap", "Nowy", "Nowy
//     etap") first reads or writes what it needs, then, when the stage has unsaved changes, asks
//     whether to drop them; "Nie" ends it with nothing changed. The stage it drops becomes a
//     step of the history that brings it back with its context;
//   - a write over a listed stage expects the file to hold the name the list shows there (the
//     name guard); refused, the list is read again and the user told what became of the
//     selection;
//   - the file's changes by other programs are read only between commands: one noticed while a
//     command runs (a write waiting for the lock, a question open) is read once it has ended.
#pragma once

#include "CommandRunner.h"
#include "EditHistory.h"
#include "EditingContext.h"
#include "EnteredParameters.h"
#include "PackCommands.h"
#include "StageFileWatcher.h"
#include "StageListModel.h"
#include "UserDialogue.h"
#include "plansza.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class EditorState;

class FileWorkflow : public QObject, public ContextSwitch {
    Q_OBJECT

public:
    FileWorkflow(EditorState& stan, UserDialogue& dialogue, QObject* parent = nullptr);

    EditorState& stan() { return stan_; }
    StageListModel& list() { return list_; }
    EditHistory& history() { return history_; }
    // The stage list's own commands on the file's records.
    PackCommands& pack() { return pack_; }

    // A file has been created or opened: the stage is shown and can be edited.
    bool fileOpen() const { return fileOpen_; }
    // "Zapisz" can write: a file was opened or a stage written since the last "Nowy".
    bool canSave() const { return canSave_; }

    // The start: every cell a rivet, the parameters and the name the parameters dialog starts
    // with. No file is open yet.
    void start(const EnteredParameters& defaults);

    // The commands, each after its dialog was confirmed. Those that return a bool say whether
    // the command went on (false: declined or stopped by an error).
    bool nowy(const EnteredParameters& entered, const QString& fileName);
    bool otworz(const QString& path);
    // Writes the stage into the current file; `copyTo` first receives a copy of the file as it
    // was (nothing when it is the current file).
    void zapisz(const QString& copyTo);
    void nowyEtap(const EnteredParameters& entered);
    // Loads the stage selected in the list (with none selected, reads the list again).
    void wybierzEtap();
    // Loads the stage at `position` of the file, past the hundredth too, which the overview of
    // the pack shows as `shownName`: refused when the file holds another name there now. It
    // becomes the selected stage where the list reaches it; past it nothing is selected, so
    // that "Zapisz" appends rather than writing over another stage, and the user is told.
    bool wybierzEtapNr(int position, const QString& shownName);
    void parametryEtapu(const EnteredParameters& entered);
    // Writes the stage under the list's name field by the rule of "Zapisz jako".
    void zapiszJako();

    // Another program may have changed the current file.
    void plikZmienionyZZewnatrz();

    // At start, before any file is open: a stage kept by an editor that ended without saving it
    // comes back as unsaved, in its context (its list read anew, the position and name guard).
    void restoreRecovered(krelwin::Etap stage, const EditingContext& context);

    // Asked before the editor closes with unsaved changes; true to close.
    bool mayClose();

    EditingContext currentContext() const override;
    void switchTo(const EditingContext& context) override;

signals:
    // fileOpen() or canSave() changed.
    void fileStateChanged();
    // The current file may hold other stages now: the change was noticed (another program's,
    // or the editor's own write seen by the watch) and the list has followed it.
    void stageFileChanged();

private:
    // A listed stage position with the name listed there, which the file must still hold at that
    // position when the stage is written over it.
    struct WriteTarget {
        int index;
        QString listed;
    };

    bool run(const std::function<void()>& command) { return runner_.run(command); }
    bool mayDropUnsavedChanges();
    // The file, name field, stage name and "Zapisz" of `context`; the list is set apart.
    void enterContext(const EditingContext& context);
    // `stage` goes into memory; the stage it replaces, in `contextBefore`, becomes a step.
    void putLoaded(krelwin::Etap stage, const EditingContext& contextBefore);
    void setFileOpen(bool open);
    void setCanSave(bool canSave);

    std::string currentPath() const;
    void appendStage(const QString& name, const krelwin::Etap& stage);
    void writeOver(const WriteTarget& target, const QString& name);
    std::optional<WriteTarget> saveAsTarget(const QString& name);
    void rereadNow();

    EditorState& stan_;
    UserDialogue& dialogue_;
    CommandRunner runner_;
    StageListModel list_;
    EditHistory history_;
    StageFileWatcher watcher_;
    PackCommands pack_;
    bool fileOpen_ = false;
    bool canSave_ = false;
};
