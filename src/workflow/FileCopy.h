// The whole-file copy of "Zapisz": the chosen path receives the current stage file as it is.
#pragma once

#include <QString>

// Copies `from` over `to` through the core's safe write (krelwin::copyWholeFile), so `to` holds
// either its old content or the whole copy. Nothing is copied when `from` is missing or when
// both name the same file. Throws krelwin::RuntimeError ("Nie można skopiować pliku do ...",
// with the reason in the core's words) when the copy fails, or the core's own message
// (krelwin::PlainMessage) for a special file, a busy file or a kept backup.
void kopiujPlik(const QString& from, const QString& to);

// Whether the two paths name the same existing file, links and relative parts resolved.
bool isSameFile(const QString& first, const QString& second);
