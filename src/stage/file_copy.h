// Whole files written through the same safe write as every stage write: a stage file copied
// over another, as "Zapisz" copies the current file to the chosen path, and a file of the tool's
// own (a picture) written whole.
#pragma once

#include <string>
#include <string_view>

namespace krelwin {

// Copies `from` byte for byte over `to` (created when missing): `to` holds its old content or
// the whole copy, keeps its owner, group, permissions and links, and is locked while it is
// written. Only regular files are read or written (NotRegularFileMessage).
// Throws InOutError, FileBusyMessage, BackupKeptMessage.
void copyWholeFile(const std::string& from, const std::string& to);

// Replaces the file at `path` with `bytes` in the same way; a file that was not there before
// and could not be written is removed again. Throws InOutError, FileBusyMessage,
// NotRegularFileMessage, BackupKeptMessage.
void writeWholeFile(const std::string& path, std::string_view bytes);

} // namespace krelwin
