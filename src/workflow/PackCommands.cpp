#include "PackCommands.h"

#include "CommandRunner.h"
#include "EditorState.h"
#include "StageListModel.h"
#include "TextCodec.h"
#include "UserDialogue.h"
#include "errors.h"
#include "stage_file.h"

void writeGuarded(StageListModel& list, const std::string& path, const std::function<void()>& write,
                  const QString& refusal) {
    try {
        write();
    } catch (const krelwin::FileChangedMessage& changed) {
        QString text = refusal.isEmpty() ? QString::fromUtf8(changed.what()) : refusal;
        try {
            text += QStringLiteral("\n\n") +
                    StageListModel::describe(list.replaceNames(krelwin::CzytajListeEtapow(path)));
        } catch (const std::exception&) {
            // The file cannot be read now; the list stays, and the next command says why.
        }
        throw krelwin::PlainMessage(text.toStdString());
    }
}

PackCommands::PackCommands(EditorState& stan, StageListModel& list, UserDialogue& dialogue,
                           CommandRunner& runner)
    : stan_(stan), list_(list), dialogue_(dialogue), runner_(runner) {}

std::string PackCommands::currentPath() const {
    return krelwin::filePath(stan_.BiezacyPlik());
}

// Only the name line of the record is rewritten: its cells and parameters stay as they are,
// whichever stage is in memory. The item takes the new name only once the file holds it, so
// that the list never names what the file does not.
bool PackCommands::zmienNazwe(int index, const QString& name) {
    return runner_.run([&] {
        const QString listed = list_.name(index); // the list's index error when none is selected
        writeGuarded(list_, currentPath(), [&] {
            krelwin::ZmienNazweEtapu(currentPath(), index, krelwin::toFileBytes(name),
                                     krelwin::toFileBytes(listed));
        });
        list_.rename(index, name);
    });
}

bool PackCommands::przesunEtap(int from, int to) {
    return runner_.run([&] {
        const std::string listed = krelwin::toFileBytes(list_.name(from));
        writeGuarded(list_, currentPath(),
                     [&] { krelwin::moveStage(currentPath(), from, to, listed); });
        showRearranged(to, [from, to](int position) {
            return position == from ? to : position == to ? from : position;
        });
    });
}

// The copy takes the stage's own name and stands right after it.
bool PackCommands::powielEtap(int index) {
    return runner_.run([&] {
        const std::string listed = krelwin::toFileBytes(list_.name(index));
        int copy = -1;
        writeGuarded(list_, currentPath(), [&] {
            copy = krelwin::duplicateStage(currentPath(), index, std::nullopt, listed);
        });
        showRearranged(
            copy, [index](int position) { return position > index ? position + 1 : position; });
    });
}

// Nothing is selected afterwards, so that a later "Zapisz" appends the stage in memory rather
// than writing it over the stage that took the deleted one's place; and the name field goes
// back to what it held when the dialog was shown, so that the stage in memory is not named
// after the deleted one.
bool PackCommands::usunEtap(int index) {
    return runner_.run([&] {
        const QString name = list_.name(index);
        if (!askToDelete(index, name)) {
            return;
        }
        writeGuarded(list_, currentPath(), [&] {
            krelwin::deleteStage(currentPath(), index, krelwin::toFileBytes(name));
        });
        showRearranged(-1, [index](int position) {
            return position == index ? -1 : position > index ? position - 1 : position;
        });
        list_.setNameField(list_.nameFieldWhenShown());
    });
}

bool PackCommands::askToDelete(int index, const QString& name) {
    return dialogue_.ask(
        QStringLiteral("Usunąć etap nr %1 „%2” z pliku? Tej operacji nie można cofnąć.")
            .arg(QString::number(index + 1), shownName(name, MessageNameLength)),
        UserDialogue::Preset::Nie);
}

void PackCommands::showRearranged(int selected, const std::function<int(int)>& newPosition) {
    list_.showRearranged(krelwin::CzytajListeEtapow(currentPath()), selected, newPosition);
}

// --- the same commands on a stage the overview shows -------------------------------------

bool PackCommands::przesunEtap(const ShownStage& stage, int to) {
    return runner_.run([&] {
        const int from = stage.position;
        writeShown(stage, [&](const std::string& expected) {
            krelwin::moveStage(currentPath(), from, to, expected);
        });
        followSelection([from, to](int position) {
            if (position == from) {
                return to;
            }
            if (from < to && position > from && position <= to) {
                return position - 1;
            }
            if (to < from && position >= to && position < from) {
                return position + 1;
            }
            return position;
        });
    });
}

bool PackCommands::powielEtap(const ShownStage& stage) {
    return runner_.run([&] {
        const int index = stage.position;
        writeShown(stage, [&](const std::string& expected) {
            krelwin::duplicateStage(currentPath(), index, std::nullopt, expected);
        });
        followSelection(
            [index](int position) { return position > index ? position + 1 : position; });
    });
}

bool PackCommands::usunEtap(const ShownStage& stage) {
    return runner_.run([&] {
        const int index = stage.position;
        if (!askToDelete(index, stage.name)) {
            return;
        }
        writeShown(stage, [&](const std::string& expected) {
            krelwin::deleteStage(currentPath(), index, expected);
        });
        followSelection([index](int position) {
            return position == index ? -1 : position > index ? position - 1 : position;
        });
    });
}

void PackCommands::writeShown(const ShownStage& stage,
                              const std::function<void(const std::string&)>& write) {
    const std::string expected = krelwin::toFileBytes(stage.name);
    const QString refusal =
        QStringLiteral("Plik %1 został w międzyczasie zmieniony przez inny program: etap nr %2 "
                       "nie jest już etapem „%3”, który pokazuje przegląd. Plik nie został "
                       "zmieniony.")
            .arg(shownPath(stan_.BiezacyPlik()), QString::number(stage.position + 1),
                 shownName(stage.name, MessageNameLength));
    writeGuarded(
        list_, currentPath(), [&] { write(expected); }, refusal);
}

// The selection is the stage "Zapisz" writes over: it goes where its stage went, or nowhere.
void PackCommands::followSelection(const std::function<int(int)>& newPosition) {
    const int selected = list_.selected();
    const QString selectedName = list_.selectedName();
    const int now = selected >= 0 ? newPosition(selected) : -1;
    list_.showRearranged(krelwin::CzytajListeEtapow(currentPath()), -1, newPosition);
    list_.selectListed(now, selectedName);
    if (selected < 0 || list_.selected() >= 0) {
        return;
    }
    const QString name = shownName(selectedName, MessageNameLength);
    const QString where =
        now < 0 ? QStringLiteral("Usunięty etap „%1” był zaznaczony na liście etapów").arg(name)
                : QStringLiteral("Zaznaczony etap „%1” stoi teraz na pozycji nr %2, dokąd lista "
                                 "etapów nie sięga")
                      .arg(name, QString::number(now + 1));
    dialogue_.note(where + QStringLiteral(": żaden etap nie jest zaznaczony, a „Zapisz” dopisze "
                                          "etap na końcu pliku."));
}
