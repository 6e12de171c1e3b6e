#include "PackCommands.h"

#include "CommandRunner.h"
#include "EditorState.h"
#include "StageListModel.h"
#include "TextCodec.h"
#include "UserDialogue.h"
#include "errors.h"
#include "stage_file.h"

void writeGuarded(StageListModel& list, const std::string& path,
                  const std::function<void()>& write) {
    try {
        write();
    } catch (const krelwin::FileChangedMessage& refusal) {
        QString text = QString::fromUtf8(refusal.what());
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
        const QString question =
            QStringLiteral("Usunąć etap nr %1 „%2” z pliku? Tej operacji nie można cofnąć.")
                .arg(QString::number(index + 1), shownName(name, MessageNameLength));
        if (!dialogue_.ask(question, UserDialogue::Preset::Nie)) {
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

void PackCommands::showRearranged(int selected, const std::function<int(int)>& newPosition) {
    list_.showRearranged(krelwin::CzytajListeEtapow(currentPath()), selected, newPosition);
}
