// krelwin-stage merge: the three-way merge of packs, run by git as a merge driver.
#include "commands.h"

#include "errors.h"
#include "pack_merge.h"

#include <iostream>

namespace krelwin::cli {

namespace {

std::string stage(long index, const std::string& name) {
    return "etap nr " + std::to_string(index) + " „" + shownText(name) + "”";
}

std::string conflictText(const MergeConflict& conflict) {
    const std::string here = stage(conflict.index, conflict.name);
    const std::string copy = stage(conflict.copyIndex, conflict.copyName);
    switch (conflict.kind) {
    case MergeConflict::Kind::ChangedOnBoth:
        return here +
               " zmieniony w obu wersjach, w każdej inaczej: zostaje nasza wersja, a ich "
               "stoi zaraz po niej jako " +
               copy;
    case MergeConflict::Kind::AddedOnBoth:
        return here +
               " dodany w obu wersjach, w każdej inaczej: zostaje nasz, a ich stoi zaraz "
               "po nim jako " +
               copy;
    case MergeConflict::Kind::RemovedInTheirs:
        return here + " usunięty w ich wersji, a zmieniony w naszej: zostaje nasza wersja";
    case MergeConflict::Kind::RemovedInOurs:
        return here + " usunięty w naszej wersji, a zmieniony w ich: ich wersja zostaje pod tą "
                      "nazwą";
    case MergeConflict::Kind::MovedOnBoth:
        return here + " przeniesiony w obu wersjach w różne miejsca: zostaje tam, gdzie stoi w "
                      "naszej wersji";
    }
    return here;
}

} // namespace

int runMerge(const CommandLine& line, std::ostream&) {
    const std::vector<std::string>& files = line.positional;
    const std::vector<MergeConflict> conflicts = mergePacks(files[0], files[1], files[2]);
    if (conflicts.empty()) {
        return ExitSuccess;
    }
    for (const MergeConflict& conflict : conflicts) {
        std::cerr << "Konflikt: " << conflictText(conflict) << ".\n";
    }
    // git names its own temporary copy as OURS; the fourth argument, if given, is the file's
    // name in the repository.
    const std::string& shown = files.size() > 3 ? files[3] : files[1];
    std::cerr << "Konflikty: " << conflicts.size() << ". Obie wersje są w pliku "
              << shownText(shown)
              << "; zostaw właściwą (krelwin-stage delete, rename) przed zatwierdzeniem.\n";
    return ExitFailure;
}

} // namespace krelwin::cli
