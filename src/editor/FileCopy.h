// The whole-file copy of "Zapisz": the chosen path receives the current stage file as it is.
#pragma once

#include <QString>

// Copies `from` over `to` in one step: the copy is built beside `to` and renamed over it, so
// `to` holds either its old content or the whole copy. Nothing is copied when `from` is missing
// or when both name the same file. Throws krelwin::RuntimeError when the copy fails.
void kopiujPlik(const QString& from, const QString& to);
