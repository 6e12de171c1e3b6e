// A quick pass for the common case of the file check: a pack whose every record stands exactly
// as the editor writes it. Read once in blocks, never held whole and never split into lines.
#pragma once

#include <cstdint>
#include <sys/types.h>
#include <vector>

namespace krelwin {

// A clean record with fewer diamond cells than diamonds to collect: the check warns of it.
struct DiamondShortfall {
    long stage;
    int diamonds;
    int32_t toCollect;
    bool operator==(const DiamondShortfall&) const = default;
};

// How far a file is a clean pack: records in which the check finds nothing to report but fewer
// diamonds than to collect, each a
// name line "(name)" without "}" or LF, "}", a parameter line whose numbers convert and lie in
// their ranges, with the type Z or B and 53 characters of colour text, no "(" or "}" in it,
// "{", then exactly Wys rows of exactly Szer cells holding codes of the alphabet only, one S
// and one W, every line ended by CR LF.
struct CleanPack {
    long stages = 0;                             // such records from the start of the file
    std::vector<DiamondShortfall> fewerDiamonds; // among them, in file order
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
