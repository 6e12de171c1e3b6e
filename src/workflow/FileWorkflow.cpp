#include "FileWorkflow.h"

#include "EditorState.h"
#include "FileCopy.h"
#include "PackCommands.h"
#include "TextCodec.h"
#include "errors.h"
#include "stage_file.h"

#include <utility>

namespace {

const QString NewFileName = QStringLiteral("Plan01");

QString quotedName(const QString& name) {
    return QStringLiteral("„%1”").arg(shownName(name, MessageNameLength));
}

} // namespace

FileWorkflow::FileWorkflow(EditorState& stan, UserDialogue& dialogue, QObject* parent)
    : QObject(parent), stan_(stan), dialogue_(dialogue), runner_(dialogue), history_(stan),
      watcher_(this), pack_(stan, list_, dialogue, runner_) {
    connect(&stan_, &EditorState::biezacyPlikChanged, &watcher_, &StageFileWatcher::watch);
    connect(&watcher_, &StageFileWatcher::changed, this, &FileWorkflow::plikZmienionyZZewnatrz);
}

void FileWorkflow::start(const EnteredParameters& defaults) {
    stan_.etap.plansza.fillWithRivets();
    stan_.etap.parametry = defaults.parametry;
    stan_.setBiezacyEtap(defaults.nazwa);
    stan_.announceStageReplaced();
}

// --- questions -------------------------------------------------------------------------------

bool FileWorkflow::mayDropUnsavedChanges() {
    if (!history_.hasUnsavedChanges()) {
        return true;
    }
    return dialogue_.ask(QStringLiteral("Etap %1 ma niezapisane zmiany. Porzucić je?")
                             .arg(quotedName(stan_.BiezacyEtap())),
                         UserDialogue::Preset::Nie);
}

bool FileWorkflow::mayClose() {
    if (!history_.hasUnsavedChanges()) {
        return true;
    }
    return dialogue_.ask(QStringLiteral("Etap %1 ma niezapisane zmiany. Zakończyć bez "
                                        "zapisywania?")
                             .arg(quotedName(stan_.BiezacyEtap())),
                         UserDialogue::Preset::Nie);
}

// --- context -------------------------------------------------------------------------------

EditingContext FileWorkflow::currentContext() const {
    return {stan_.BiezacyPlik(), list_.selected(),    list_.selectedName(),
            list_.nameField(),   stan_.BiezacyEtap(), canSave_};
}

// The selection comes back with the name it was listed under, whatever the file holds there
// now: a write there is then refused by the name guard, never made over another stage. Only a
// position the file no longer has cannot be selected, and the user is told.
void FileWorkflow::switchTo(const EditingContext& context) {
    try {
        list_.setNames(krelwin::CzytajListeEtapow(krelwin::filePath(context.file)));
        list_.selectListed(context.position, context.listedName);
        if (context.position >= 0 && list_.selected() < 0) {
            dialogue_.note(StageListModel::describe({context.position, context.listedName, false}));
        }
    } catch (const std::exception& error) {
        list_.clear();
        // A "Nowy" file not yet written has no list to read, and nothing to say about it.
        if (context.position >= 0 || context.canSave) {
            dialogue_.note(QStringLiteral("Etap przywrócony bez listy etapów: %1")
                               .arg(QString::fromUtf8(error.what())));
        }
    }
    enterContext(context);
}

void FileWorkflow::enterContext(const EditingContext& context) {
    stan_.setBiezacyPlik(context.file);
    list_.setNameField(context.nameField);
    stan_.setBiezacyEtap(context.stageName);
    setCanSave(context.canSave);
}

void FileWorkflow::restoreRecovered(krelwin::Etap stage, const EditingContext& context) {
    switchTo(context);
    stan_.swapStage(stage);
    setFileOpen(true);
    history_.markUnsaved();
}

// The first file replaces a stage nobody has seen: that is no step.
void FileWorkflow::putLoaded(krelwin::Etap stage, const EditingContext& contextBefore) {
    stan_.swapStage(stage);
    if (fileOpen_) {
        history_.recordLoad(*this, std::move(stage), contextBefore);
    }
    history_.markSaved();
    setFileOpen(true);
}

void FileWorkflow::setFileOpen(bool open) {
    if (std::exchange(fileOpen_, open) != open) {
        emit fileStateChanged();
    }
}

void FileWorkflow::setCanSave(bool canSave) {
    if (std::exchange(canSave_, canSave) != canSave) {
        emit fileStateChanged();
    }
}

std::string FileWorkflow::currentPath() const {
    return krelwin::filePath(stan_.BiezacyPlik());
}

// --- "&Plik" ---------------------------------------------------------------------------------

// The new file takes the name typed in the dialog, in the working directory, and comes into
// being when its first stage is written.
bool FileWorkflow::nowy(const EnteredParameters& entered, const QString& fileName) {
    bool wentOn = false;
    run([&] {
        if (!mayDropUnsavedChanges()) {
            return;
        }
        krelwin::Etap stage = stan_.etap;
        stage.parametry = entered.parametry;
        stage.plansza.fillWithRivets();
        stage.clearInterior();
        const EditingContext before = currentContext();
        list_.clear();
        const QString file = (fileName.isEmpty() ? NewFileName : fileName) + QStringLiteral(".map");
        enterContext({file, -1, QString(), entered.nazwa, entered.nazwa, false});
        putLoaded(std::move(stage), before);
        wentOn = true;
    });
    return wentOn;
}

// Both reads come before anything changes, so a missing or unreadable file is reported once
// and leaves the current file, the list, the stage and the menus as they were.
bool FileWorkflow::otworz(const QString& path) {
    bool wentOn = false;
    run([&] {
        const std::string file = krelwin::filePath(path);
        const std::vector<std::string> names = krelwin::CzytajListeEtapow(file);
        krelwin::Etap loaded = stan_.etap;
        krelwin::CzytajEtap(file, 0, loaded);
        if (names.empty()) {
            throw krelwin::RuntimeError("List index out of bounds (0)");
        }
        if (!mayDropUnsavedChanges()) {
            return;
        }
        const EditingContext before = currentContext();
        list_.setNames(names);
        list_.select(0);
        const QString first = list_.name(0);
        enterContext({path, 0, first, first, first, true});
        putLoaded(std::move(loaded), before);
        wentOn = true;
    });
    return wentOn;
}

// The stage goes into the current file at the selected position, under the name field; with
// nothing selected it is appended. A failed copy is told, and the stage is written all the
// same: the copy is a by-product, the write is what was asked for.
void FileWorkflow::zapisz(const QString& copyTo) {
    run([&] {
        run([&] { kopiujPlik(stan_.BiezacyPlik(), copyTo); });
        const int index = list_.selected();
        if (index >= 0) {
            writeOver({index, list_.selectedName()}, list_.nameField());
        } else {
            krelwin::ZapiszEtap(currentPath(), krelwin::toFileBytes(list_.nameField()),
                                krelwin::AppendIndex, stan_.etap);
        }
        history_.markSaved();
    });
}

// --- "E&tapy" --------------------------------------------------------------------------------

// The new stage is laid out for the size in force before the dialog, then takes the new size;
// it is written first, and only once it stands in the file does it replace the stage in memory.
void FileWorkflow::nowyEtap(const EnteredParameters& entered) {
    run([&] {
        if (!mayDropUnsavedChanges()) {
            return;
        }
        krelwin::Etap stage = stan_.etap;
        stage.plansza.fillWithRivets();
        stage.clearInterior();
        stage.parametry = entered.parametry;
        EditingContext context = currentContext();
        const EditingContext before = context;
        appendStage(entered.nazwa, stage);
        context.nameField = context.stageName = entered.nazwa;
        context.canSave = true;
        enterContext(context);
        putLoaded(std::move(stage), before);
    });
}

// A stage that cannot be loaded, or whose loading the user declines, leaves the stage shown
// the current one with its selection and name field, so that a later "Zapisz" does not write
// it over the chosen record.
void FileWorkflow::wybierzEtap() {
    run([&] {
        const int index = list_.selected();
        if (index < 0) {
            list_.setNames(krelwin::CzytajListeEtapow(currentPath()));
            stan_.setBiezacyEtap(list_.nameField());
            return;
        }
        krelwin::Etap loaded = stan_.etap;
        try {
            krelwin::CzytajEtap(currentPath(), index, loaded);
        } catch (...) {
            list_.restoreWhenShown();
            throw;
        }
        if (!mayDropUnsavedChanges()) {
            list_.restoreWhenShown();
            return;
        }
        EditingContext before = currentContext();
        before.position = list_.remembered();
        before.listedName = list_.rememberedName();
        before.nameField = list_.nameFieldWhenShown();
        stan_.setBiezacyEtap(list_.nameField());
        putLoaded(std::move(loaded), before);
    });
}

bool FileWorkflow::wybierzEtapNr(int position, const QString& shownName) {
    bool wentOn = false;
    run([&] {
        krelwin::Etap loaded = stan_.etap;
        const QString name =
            krelwin::fromFileBytes(krelwin::loadStageAndName(currentPath(), position, loaded));
        if (name != shownName) {
            throw krelwin::PlainMessage(
                QStringLiteral("Plik %1 został w międzyczasie zmieniony przez inny program: etap "
                               "nr %2 nie jest już etapem %3. Nic nie zostało wczytane.")
                    .arg(shownPath(stan_.BiezacyPlik()), QString::number(position + 1),
                         quotedName(shownName))
                    .toStdString());
        }
        if (!mayDropUnsavedChanges()) {
            return;
        }
        const EditingContext before = currentContext();
        const bool listed = position < krelwin::MaxListedStages;
        if (listed && position >= list_.count()) {
            // The file has grown since the list was read, and the watch has not told yet.
            list_.replaceNames(krelwin::CzytajListeEtapow(currentPath()));
        }
        list_.selectListed(listed ? position : -1, name);
        list_.setNameField(name);
        stan_.setBiezacyEtap(name);
        putLoaded(std::move(loaded), before);
        if (!listed) {
            dialogue_.note(QStringLiteral("Wczytano etap nr %1 %2. Lista etapów sięga tylko do "
                                          "etapu nr %3, więc żaden etap nie jest zaznaczony: "
                                          "„Zapisz” dopisze ten etap na końcu pliku.")
                               .arg(QString::number(position + 1), quotedName(name),
                                    QString::number(krelwin::MaxListedStages)));
        }
        wentOn = true;
    });
    return wentOn;
}

void FileWorkflow::parametryEtapu(const EnteredParameters& entered) {
    run([&] {
        history_.recordStageChange(
            [&] {
                stan_.etap.parametry = entered.parametry;
                stan_.setBiezacyEtap(entered.nazwa);
                stan_.etap.trimToSize();
            },
            EditHistory::Name::Changed);
    });
}

// The stage written takes the name given, and its item becomes the selected one, so that list
// and file keep agreeing. Declined, nothing is written and the dialog counts as cancelled.
void FileWorkflow::zapiszJako() {
    run([&] {
        const QString name = list_.nameField();
        const QString nameBefore = stan_.BiezacyEtap();
        stan_.setBiezacyEtap(name);
        const std::optional<WriteTarget> target = saveAsTarget(name);
        if (!target) {
            list_.cancelShowing();
            stan_.setBiezacyEtap(nameBefore);
            return;
        }
        if (target->index == krelwin::AppendIndex) {
            appendStage(name, stan_.etap);
            setCanSave(true);
        } else {
            writeOver(*target, name);
            list_.select(target->index);
        }
        history_.markSaved();
    });
}

// The stage the dialog was shown on (its selected item) takes a name it already has, letter
// case ignored, without a question: that is saving it in its place. Another stage of that name
// is written over only when the user agrees, since names may repeat and the stage there would
// be lost. A name no stage has is appended. The name listed at the position is taken before
// the question: the write must go to the stage the user was asked about.
std::optional<FileWorkflow::WriteTarget> FileWorkflow::saveAsTarget(const QString& name) {
    const auto named = [&](int index) {
        return list_.name(index).compare(name, Qt::CaseInsensitive) == 0;
    };
    const int own = list_.remembered();
    if (own >= 0 && own < list_.count() && named(own)) {
        return WriteTarget{own, list_.name(own)};
    }
    for (int index = 0; index < list_.count(); ++index) {
        if (!named(index)) {
            continue;
        }
        const WriteTarget other{index, list_.name(index)};
        const QString question = QStringLiteral("Etap nr %1 %2 już istnieje. Zastąpić go?")
                                     .arg(QString::number(index + 1), quotedName(other.listed));
        if (!dialogue_.ask(question, UserDialogue::Preset::Nie)) {
            return std::nullopt;
        }
        return other;
    }
    return WriteTarget{krelwin::AppendIndex, QString()};
}

// --- writes ----------------------------------------------------------------------------------

// The list is read back from the file rather than extended by hand: the file may have held
// stages before (a "Nowy" over an existing file), or another program may have added some. The
// selected item must be the record just written, at the position the write found under its
// lock, for a later "Zapisz" to write into it; past the hundredth stage the list no longer
// reaches it, and with nothing selected a later "Zapisz" appends rather than writing over
// another stage.
void FileWorkflow::appendStage(const QString& name, const krelwin::Etap& stage) {
    const std::string path = currentPath();
    const std::string bytes = krelwin::toFileBytes(name);
    const int position = krelwin::ZapiszEtap(path, bytes, krelwin::AppendIndex, stage);
    const std::vector<std::string> names = krelwin::CzytajListeEtapow(path);
    list_.setNames(names);
    const bool listed = position >= 0 && std::size_t(position) < names.size() &&
                        names[std::size_t(position)] == bytes;
    list_.select(listed ? position : -1);
}

// Written, the item names what the file now holds there.
void FileWorkflow::writeOver(const WriteTarget& target, const QString& name) {
    writeGuarded(list_, currentPath(), [&] {
        krelwin::ZapiszEtap(currentPath(), krelwin::toFileBytes(name), target.index, stan_.etap,
                            krelwin::toFileBytes(target.listed));
    });
    list_.rename(target.index, name);
}

// --- changes by other programs ---------------------------------------------------------------

void FileWorkflow::plikZmienionyZZewnatrz() {
    runner_.whenIdle([this] {
        if (fileOpen_) {
            run([this] { rereadNow(); });
            emit stageFileChanged();
        }
    });
}

// The editor's own writes end at the first test: the list names what they wrote. A file gone
// or unreadable for now leaves the list, and the next command that needs the file says why.
void FileWorkflow::rereadNow() {
    std::vector<std::string> names;
    try {
        names = krelwin::CzytajListeEtapow(currentPath());
    } catch (const std::exception&) {
        return;
    }
    if (list_.holds(names)) {
        return;
    }
    const StageListModel::Reread reread = list_.replaceNames(names);
    if (reread.position >= 0 && !reread.kept) {
        throw krelwin::PlainMessage((QStringLiteral("Plik %1 został zmieniony przez inny program. ")
                                         .arg(shownPath(stan_.BiezacyPlik())) +
                                     StageListModel::describe(reread))
                                        .toStdString());
    }
}
