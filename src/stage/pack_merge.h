// The three-way merge of packs as a version control system asks for it: the common base, our
// version and their version in three files; the result replaces ours (merge_plan.h says what
// goes where).
//
// Only packs whose every record stands on its own (self_contained_record.h), with nothing
// before the first record and nothing after a byte 26, are merged: otherwise records could not
// be moved or set side by side without the game reading them differently, or bytes would be
// lost. Such a pack is refused (WriteRefused naming the file, the stage and the fault) before
// anything is written.
#pragma once

#include "merge_plan.h"

#include <string>
#include <vector>

namespace krelwin {

// Writes the merged pack over `oursPath` through the safe write, under its lock, and returns
// the conflicts (none: a clean merge). Each record is written as it stands in the version it
// comes from, every line ended by CR LF; a conflict copy's name line gets ConflictSuffix.
// Throws WriteRefused, MissingFileMessage, NotRegularFileMessage, FileBusyMessage, InOutError,
// BackupKeptMessage; on any of them `oursPath` is as it was.
std::vector<MergeConflict> mergePacks(const std::string& basePath, const std::string& oursPath,
                                      const std::string& theirsPath);

} // namespace krelwin
