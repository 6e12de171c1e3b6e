#!/bin/bash
# --help and --version of both programs answer with no display at all (as over SSH): run with
# DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM unset, they must print and exit 0, never abort.
set -u
editor=$1
stage_tool=$2
version=$3
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

fail=0
problem() { echo "FAIL: $*"; fail=1; }

expect_run() { # STATUS EXPECTED_STDOUT_PATTERN COMMAND...
    local status=$1 pattern=$2 out got
    shift 2
    out=$("$@" 2>&1)
    got=$?
    [ "$got" -eq "$status" ] || problem "$* exited $got, expected $status: $out"
    grep -Eq -- "$pattern" <<<"$out" || problem "$* printed: $out"
}

expect_run 0 "^krelwin-konstruktor $version\$" "$editor" --version
expect_run 0 "^krelwin-konstruktor $version\$" "$editor" -v
expect_run 0 "^krelwin-stage $version\$" "$stage_tool" --version
expect_run 0 '^Użycie: krelwin-konstruktor \[OPCJA\] \[PLIK\.map\]$' "$editor" --help
expect_run 0 'wyświetla wersję programu' "$editor" -h
expect_run 2 'nieznana opcja „bzdura”' "$editor" --bzdura
expect_run 2 'tylko jeden plik' "$editor" a.map b.map
exit $fail
