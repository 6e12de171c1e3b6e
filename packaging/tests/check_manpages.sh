#!/bin/bash
# The installed manual pages read through man without a single warning, in Polish, and name
# the options the programs take.
set -u
man_dir=$1
command -v man >/dev/null || { echo "man missing"; exit 77; }

fail=0
for page in krelwin-konstruktor krelwin-stage; do
    file=$man_dir/$page.1.gz
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >/dev/null)
    text=$(MANWIDTH=80 man -E UTF-8 -l "$file" 2>/dev/null)
    [ -z "$warnings" ] || { echo "FAIL: $page: $warnings"; fail=1; }
    for expected in NAZWA SKŁADNIA OPIS --help --version; do
        grep -q -- "$expected" <<<"$text" || { echo "FAIL: $page lacks $expected"; fail=1; }
    done
done
exit $fail
