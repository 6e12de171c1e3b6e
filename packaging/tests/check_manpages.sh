#!/bin/bash
# The manual pages read through man without a single warning, in Polish and in English, and
# name the options the programs take.
set -u
man_dir=$1
command -v man >/dev/null || { echo "man missing"; exit 77; }

fail=0
check() { # FILE SECTION_HEADINGS...
    local file=$1 warnings text expected
    shift
    [ -f "$file" ] || { echo "FAIL: missing $file"; fail=1; return; }
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >/dev/null)
    text=$(MANWIDTH=80 man -E UTF-8 -l "$file" 2>/dev/null)
    [ -z "$warnings" ] || { echo "FAIL: $file: $warnings"; fail=1; }
    for expected in "$@" --help --version; do
        grep -q -- "$expected" <<<"$text" || { echo "FAIL: $file lacks $expected"; fail=1; }
    done
}
for page in krelwin-konstruktor krelwin-stage; do
    check "$man_dir/$page.1.gz" NAZWA SKŁADNIA OPIS
    check "$man_dir/en/$page.1.gz" NAME SYNOPSIS DESCRIPTION
done
exit $fail
