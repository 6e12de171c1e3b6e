// Names and colour texts as the editor shows them and as the stage file holds them. The file
// holds bytes in the Windows-1250 code page; every byte has a character, so a name read from a
// file goes back byte for byte, and a name typed with Polish letters is stored as the game
// expects.
#pragma once

#include <QString>

#include <string>

namespace krelwin {

QString fromFileBytes(const std::string& bytes);

// Throws WriteRefused, in Polish, when a character of the text has no byte in the code page.
std::string toFileBytes(const QString& text);

// The stage file's path as the file system names it.
std::string filePath(const QString& path);

} // namespace krelwin

// A stage name as the editor shows it in lists, fields and labels: at most `limit` characters,
// a longer one cut with "…". A name of megabytes from a file made elsewhere then costs no more
// to lay out than a short one; the whole name stays for every write. Messages cut shorter, so
// that the sentence around the name stays readable.
constexpr qsizetype ShownNameLength = 100;
constexpr qsizetype MessageNameLength = 40;
QString shownName(const QString& name, qsizetype limit = ShownNameLength);

// A path or other text from outside as messages show it: control characters written as \xNN,
// so that none can hide or garble the sentence around it.
QString shownPath(const QString& path);
