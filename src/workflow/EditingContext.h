// Where the stage in memory belongs: the file it is written into, the position in that file's
// stage list with the name the list showed there, the name field and the stage's name. A step
// of the history that crosses a load ("Otwórz", "Wybierz etap", "Nowy", "Nowy etap") keeps the
// context with the stage, so that a stage brought back by "Cofnij" is written back where it
// came from, and never over another stage.
#pragma once

#include <QString>

struct EditingContext {
    QString file;         // BiezacyPlik
    int position = -1;    // the selected position in the stage list; -1 when none
    QString listedName;   // the name the list showed at that position
    QString nameField;    // the stage list dialog's name field, the name "Zapisz" writes under
    QString stageName;    // BiezacyEtap
    bool canSave = false; // "Zapisz" available (not before the first write of a "Nowy" file)

    bool operator==(const EditingContext&) const = default;
};

// The keeper of the context in force: the file workflow.
class ContextSwitch {
public:
    virtual ~ContextSwitch() = default;
    virtual EditingContext currentContext() const = 0;
    // Puts `context` in force: its file, its stage list read anew from that file, its
    // selection, name field and stage name.
    virtual void switchTo(const EditingContext& context) = 0;
};
