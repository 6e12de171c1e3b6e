// A quick pass for the common case of the file check: a pack whose every record stands exactly
// as the editor writes it. Read once in blocks, never held whole and never split into lines.
#pragma once

#include <optional>

namespace krelwin {

// What a clean pack holds that the check reports all the same.
struct CleanPack {
    long stages = 0;
    bool bytesAfterEndMark = false;
};

// Reads the file from its start. Gives the stage count when the file is, from its first byte to
// its end (or its byte 26), nothing but records in which the check finds nothing to report:
// a name line "(name)" without "}" or LF, "}", a parameter line whose numbers convert and lie in
// their ranges, with the type Z or B and 53 characters of colour text, no "(" or "}" in it, "{",
// then exactly Wys rows of exactly Szer cells holding neither "(" nor "}" nor LF, one S and one
// W, every line ended by CR LF. Gives nothing for any other file, at the first thing that is
// not so; the full check then says what it is. Throws InOutError on a read failure.
std::optional<CleanPack> readCleanPack(int fd);

} // namespace krelwin
