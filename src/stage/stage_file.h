// The two stage file operations: list or load a stage, and write the stage in memory over a
// record or append it. Every write is all-or-nothing: the new content is built in a temporary
// file beside the stage file and renamed over it, under an advisory lock on the stage file.
#pragma once

#include "plansza.h"
#include "stage_locator.h"

#include <optional>
#include <string>
#include <vector>

namespace krelwin {

inline constexpr int AppendIndex = -1;

// List mode: the names of at most the first 100 stages, in file order.
// Throws MissingFileMessage when no file is at the path, InOutError on a read failure.
std::vector<std::string> CzytajListeEtapow(const std::string& path);

// Load mode: the stage at `index` (0 or more) becomes `etap`, parameter pass included.
// All or nothing: on any error `etap` is left exactly as it was.
// Throws MissingFileMessage, ConversionError (an index past the last stage gives "''"),
// InOutError.
void CzytajEtap(const std::string& path, int index, Etap& etap);
// The same load in the same pass over the file, returning the stage's own name: all but the
// first and last characters of its name line, whatever they hold. Unlike the stage list, this
// reaches stages past the hundredth.
std::string loadStageAndName(const std::string& path, int index, Etap& etap);

// Writes `etap` under `name` over the stage at `index`, or appends it for a negative index, and
// returns the position at which the stage now stands: `index` for a replace; for an append, the
// number of stages in the file before it (every record counts, also past the hundredth), found
// while the file is locked, so that two programs appending at once each learn their own.
// The start-and-exit rule applies to every index but -1 (StartExitMessage).
//
// `expectedName` guards a replace against a file changed by another program since the caller
// read its list: given, the replace goes ahead only when the stage at `index` still carries
// exactly that name (byte for byte, as CzytajListeEtapow gives it); otherwise, and when the
// file no longer has a stage at `index`, it throws FileChangedMessage. An append ignores it.
//
// Throws MissingFileMessage (a replace with no file at the path), WriteRefused (marker
// characters in the name, colour text or cells, an index that names no stage),
// NotRegularFileMessage, FileBusyMessage (the lock not given within LockWaitLimit),
// InOutError; on any of them the stage file is byte for byte as it was. BackupKeptMessage says
// where the old content is when a write into the file itself failed beyond repair (see
// safe_write.h).
int ZapiszEtap(const std::string& path, const std::string& name, int index, const Etap& etap,
               const std::optional<std::string>& expectedName = std::nullopt);

// Rewrites the name line of the stage at `index` and nothing else. Same safety, refusals and
// `expectedName` guard as a replace by ZapiszEtap; the start-and-exit rule does not apply.
void ZmienNazweEtapu(const std::string& path, int index, const std::string& name,
                     const std::optional<std::string>& expectedName = std::nullopt);

// Rearranging a pack. A stage's record runs from its name line to the next stage's name line
// (the line before the next "}" line), or to the end of the file. So the records follow each
// other without gap or overlap, a stray "(" or a "}" in a row moves with the record that holds
// it, and the stage list afterwards is the list before with the same change. (Not where two
// lines holding "}" follow each other, as a "}" in a name or a colour text makes them: the
// second stage's name line is then the first one's "}" line, and the first one's record is
// empty. Nor where the file's first line holds "}": that stage has no name line, and placed
// after another record it takes that record's last line as its name.) The lines before the
// first stage's name line stay first. Every other record, past the hundredth too, is kept
// byte for byte, with the two changes every write makes: each line ends in CR LF afterwards (a
// line ending in a CR alone gets its LF, and so does a last line without a line end, so that a
// record moved from the end does not run into the one after it), and nothing at or after a
// byte 26 is written back (the stage list and the load never see it either).
//
// Each runs under the same lock and safe write as ZapiszEtap, with the same `expectedName`
// guard for the stage at `index` (`from` for a move): FileChangedMessage when the name the
// caller's list shows there no longer stands there. An index that names no stage is refused
// with WriteRefused naming the index and the file. Throws MissingFileMessage,
// NotRegularFileMessage, FileBusyMessage, InOutError, BackupKeptMessage as ZapiszEtap does; on
// any of them the file is as it was.
void deleteStage(const std::string& path, int index,
                 const std::optional<std::string>& expectedName = std::nullopt);
// The stage at `from` ends at index `to`; the others keep their order. Moving a stage to its
// own place writes nothing.
void moveStage(const std::string& path, int from, int to,
               const std::optional<std::string>& expectedName = std::nullopt);
// Inserts a copy of the stage at `index` right after it, under `name` (only its name line
// differs) or as it stands; returns the copy's index, index + 1. A name holding "}", CR, LF or
// byte 26 is refused (WriteRefused).
int duplicateStage(const std::string& path, int index,
                   const std::optional<std::string>& name = std::nullopt,
                   const std::optional<std::string>& expectedName = std::nullopt);

// Mends a file whose lines end in LF alone, which the editor and the game read as one line
// holding no stage: every LF becomes CR LF, every other byte stays (a last line without a line
// end stays without one). A file holding any CR is refused (WriteRefused) and left as it was;
// a file without LF is left untouched. Same lock and safe write as ZapiszEtap. Throws
// MissingFileMessage, NotRegularFileMessage, FileBusyMessage, InOutError, BackupKeptMessage.
void fixLineEnds(const std::string& path);

// Why a name or colour text cannot be written, in Polish; empty when it can.
std::string nameProblem(const std::string& name);
std::string colourTextProblem(const std::string& kolory);
// Why the stage's stored cells (columns 1..Szer, rows 1..Wys, as a write stores them) cannot be
// written: the first cell, row by row, holding "(", "}", CR, LF or byte 26, which would make
// the file's records be located wrongly. Empty when they can.
std::string cellProblem(const Etap& etap);

} // namespace krelwin
