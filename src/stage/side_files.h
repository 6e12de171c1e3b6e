// The files a write makes besides the stage file itself: the temporary file that is renamed
// over it, and the backup copy that guards a write into the file itself. Both are named after
// the stage file, so that a user who finds one knows whose it is, and so that the next write
// (a temporary file of a killed writer) or read (a backup left by one) finds them.
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

// The start of the name of a side file beside the stage file, to which mkstemp's six characters
// are added: ".", the stage file's name and `mark`. A whole name must fit the file systems' limit
// of 255 bytes, so a long stage file name is cut (between two UTF-8 characters) and a hash of the
// whole name put in place of the rest: two stage files whose names begin alike still never share
// a prefix.
std::string sideFilePrefix(const std::string& stageFile, std::string_view mark);

// The same for a side file in the user's cache folder, which holds those of stage files from
// every folder: not hidden, and the name is followed by "~" and a hash of the whole path
// `stageFile` (every link resolved), so that two stage files of one name never share a prefix.
std::string cacheSideFilePrefix(const std::string& stageFile, std::string_view mark);

// Whether `name` is the side file of a stage file whose prefix is `prefix`: the prefix and
// exactly six letters or digits. So a backup copy never passes for a temporary file.
bool isSideFileName(const std::string& name, const std::string& prefix);
// The six letters or digits that make a side file's name unique.
std::string uniquePartOf(const std::string& sideFile);

// The user's cache folder for this program, $XDG_CACHE_HOME/krelwin-konstruktor or
// ~/.cache/krelwin-konstruktor: cacheFolder() creates it (for the user alone) when missing,
// cacheFolderPath() only names it. Both throw InOutError when there is no home folder.
std::string cacheFolder();
std::string cacheFolderPath();

} // namespace krelwin
