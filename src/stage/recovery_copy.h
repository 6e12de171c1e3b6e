// A recovery copy: the stage in memory with where it belongs, which a running editor keeps in the
// user's state folder while the stage has unsaved changes, so that a crash of the editor or of
// the machine loses nothing. The copy is text: a heading, one field a line, then the whole
// 82 x 82 cell array row by row (the border ring too: a cut can change it), then an end line, so
// that a copy cut short is never taken for a whole one. Texts are stored as the bytes given (the
// editor gives UTF-8 names and the file's own path), any byte can stand in them: a backslash,
// a control byte or byte 127 is written as \xNN, every other byte as it is.
#pragma once

#include "plansza.h"

#include <string>
#include <string_view>

namespace krelwin {

struct RecoveryCopy {
    std::string file;       // the stage file the stage is written into
    int position = -1;      // its selected position in that file's stage list; -1 when none
    std::string listedName; // the name the list showed at that position (the name guard)
    std::string nameField;  // the name "Zapisz" writes it under
    std::string stageName;  // the stage's name as the window shows it
    bool canSave = false;   // "Zapisz" available
    int viewScale = 100;    // the map view's scale in percent
    Etap etap;

    bool operator==(const RecoveryCopy&) const = default;
};

std::string recoveryCopyBytes(const RecoveryCopy& copy);

// Throws WriteRefused (a PlainMessage), in Polish, naming what is wrong, for anything that is not
// a whole copy as recoveryCopyBytes writes it.
RecoveryCopy readRecoveryCopy(std::string_view bytes);

} // namespace krelwin
