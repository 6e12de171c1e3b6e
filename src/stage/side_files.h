// The files a write makes besides the stage file itself: the temporary file that is renamed
// over it, and the backup copy that guards a write into the file itself. Both are named after
// the stage file, so that a user who finds one knows whose it is.
#pragma once

#include <string>
#include <string_view>

namespace krelwin {

// The folder part of a path ("." for a bare name) and the name after its last "/".
std::string folderOf(const std::string& path);
std::string baseNameOf(const std::string& path);

inline constexpr std::string_view TemporaryMark = ".krelwin-";
inline constexpr std::string_view BackupMark = ".krelwin-kopia-";
// mkstemp replaces the template's last six "X" with letters and digits.
inline constexpr std::size_t UniquePartLength = 6;

// The start of a side file's name, to which mkstemp's six characters are added: "." (when
// `hidden`), the stage file's name and `mark`. A whole name must fit the file systems' limit of
// 255 bytes, so a long stage file name is cut and a hash of the whole name put in place of the
// rest: two stage files whose names begin alike still never share a prefix.
std::string sideFilePrefix(const std::string& stageFile, std::string_view mark, bool hidden);

// Whether `name` is a temporary file of the stage file whose prefix is `prefix`: the prefix and
// exactly six letters or digits. A backup copy never is.
bool isTemporaryFileName(const std::string& name, const std::string& prefix);

// The user's cache folder for this program, $XDG_CACHE_HOME/krelwin-konstruktor or
// ~/.cache/krelwin-konstruktor, created (for the user alone) when missing. Throws InOutError.
std::string cacheFolder();

} // namespace krelwin
