// A quick pass for the common case of the file check: a pack whose every record stands exactly
// as the editor writes it. Read once in blocks, never held whole and never split into lines.
#pragma once

#include <sys/types.h>

namespace krelwin {

// How far a file is a clean pack: records in which the check finds nothing to report, each a
// name line "(name)" without "}" or LF, "}", a parameter line whose numbers convert and lie in
// their ranges, with the type Z or B and 53 characters of colour text, no "(" or "}" in it,
// "{", then exactly Wys rows of exactly Szer cells holding neither "(" nor "}" nor LF, one S
// and one W, every line ended by CR LF.
struct CleanPack {
    long stages = 0;                // such records from the start of the file
    bool complete = false;          // the file holds nothing else, up to its end or its byte 26
    bool bytesAfterEndMark = false; // when complete
    // When not complete: where the full check takes over. Whether the last clean record is
    // really clean depends on what follows it (its rows are counted up to the next "}" line's
    // name line), so it is checked again: resumeAt is its start (0 when there is none) and
    // resumeIndex its stage index.
    off_t resumeAt = 0;
    long resumeIndex = 0;
};

// Reads the file from its start, in blocks, never holding it whole nor splitting it into
// lines, up to the first thing that is not a clean record. Throws InOutError on a read failure.
CleanPack readCleanPack(int fd);

} // namespace krelwin
