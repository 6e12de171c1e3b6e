#!/bin/bash
# Registers the stage file type in a private MIME database and asks it, as Qt's and GLib's file
# managers would, for the type of stage files and of other texts named *.map: only stage files
# may be claimed.
set -u
xml=$1
probe=$2
stage_tool=$3
command -v update-mime-database >/dev/null || { echo "update-mime-database missing"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/share/mime/packages" "$work/home" "$work/files"
cp "$xml" "$work/share/mime/packages/"
update-mime-database "$work/share/mime" >/dev/null 2>&1 || { echo "update-mime-database failed"; exit 1; }

cd "$work/files"
# Stage files: as the editor writes them, one with CR line ends alone, one with a long name.
"$stage_tool" generate --seed 7 --size 18x10 >editor.map
printf '(Etap 01)\r}\r18,10,010,010,010,010,010,100,Z,\r{\r' >cr-only.map
printf '(Bardzo długa nazwa etapu z (nawiasami))\r\n}\r\n18,10,\r\n{\r\n' >long-name.map
# Other .map texts.
printf 'Memory Configuration\n\nName  Origin  Length\n*default* 0x0 0xffffffff\n' >linker.map
printf 'MAP\n  NAME "world"\n  EXTENT -180 -90 180 90\nEND\n' >mapserver.map
printf '{"version":3,"sources":["a.js"],"mappings":"AAAA"}\n' >bundle.js.map
printf '(notatka)\nto nie jest etap\n}\n' >paren-text.map
# The content decides, not the name: a stage file under another name is still a stage file.
cp editor.map etap-bez-rozszerzenia

check() { # FILE EXPECTED [EXPECTED_ALTERNATIVE]
    local file=$1 got
    for lookup in qt gio; do
        case $lookup in
            qt) got=$(XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/share:/usr/share" "$probe" "$file") ;;
            gio) command -v gio >/dev/null || continue
                 got=$(XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/share:/usr/share" \
                       gio info -a standard::content-type "$file" 2>/dev/null |
                       sed -n 's/^ *standard::content-type: //p') ;;
        esac
        if [ "$got" = "$2" ] || { [ $# -ge 3 ] && [ "$got" = "$3" ]; }; then
            echo "ok   $lookup $file: $got"
        else
            echo "FAIL $lookup $file: $got, expected $2${3:+ or $3}"
            fail=1
        fi
    done
}

fail=0
check editor.map application/x-krelwin-map
check cr-only.map application/x-krelwin-map
check long-name.map application/x-krelwin-map
check etap-bez-rozszerzenia application/x-krelwin-map
check linker.map text/plain
check mapserver.map text/plain
check paren-text.map text/plain
check bundle.js.map text/plain application/json
exit $fail
