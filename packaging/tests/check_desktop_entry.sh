#!/bin/bash
# The menu entry must pass desktop-file-validate without errors or warnings, and keep the
# names that the icon, the program and the stage file type are installed under.
set -u
entry=$1
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate missing"; exit 77; }

fail=0
report=$(desktop-file-validate "$entry" 2>&1) || { echo "$report"; fail=1; }
if grep -Eq 'error|warning' <<<"$report"; then
    echo "$report"
    fail=1
fi

expect() {
    grep -qx "$1" "$entry" || { echo "missing line: $1"; fail=1; }
}
expect 'Name=Krelwin Konstruktor'
expect 'Exec=krelwin-konstruktor %f'
expect 'Icon=krelwin-konstruktor'
expect 'MimeType=application/x-krelwin-map;'
grep -q '^GenericName=.*[ęóąśłżźćń]' "$entry" || { echo "GenericName is not in Polish"; fail=1; }
grep -q '^Comment=.*[ęóąśłżźćń]' "$entry" || { echo "Comment is not in Polish"; fail=1; }
exit $fail
