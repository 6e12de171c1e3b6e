#!/bin/bash
# Installs the build into a temporary prefix and checks what lands where: both programs, the
# menu entry, the icons, the stage file type, its thumbnailer, the software centre entry, the
# manual pages and the package's documents, nothing outside bin/, share/ and krelwin-stage's
# libexec folder, and that the installed programs run from there.
set -u
build=$1
appstream_id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"; rm -f "$prefix.log"; exit 1
fi
rm -f "$prefix.log"
echo "Installed files:"
(cd "$prefix" && find . -type f | sort)

fail=0
problem() { echo "FAIL: $*"; fail=1; }

for file in bin/krelwin-konstruktor bin/krelwin-stage \
            share/applications/krelwin-konstruktor.desktop \
            share/icons/hicolor/scalable/apps/krelwin-konstruktor.svg \
            share/mime/packages/krelwin-map.xml \
            share/thumbnailers/krelwin-konstruktor.thumbnailer \
            share/metainfo/$appstream_id.metainfo.xml \
            share/man/man1/krelwin-konstruktor.1.gz share/man/man1/krelwin-stage.1.gz \
            share/man/en/man1/krelwin-konstruktor.1.gz share/man/en/man1/krelwin-stage.1.gz \
            share/doc/krelwin-konstruktor/copyright \
            share/doc/krelwin-konstruktor/changelog.gz; do
    [ -f "$prefix/$file" ] || problem "not installed: $file"
done
# krelwin-stage's picture commands run in a program of their own, in the libexec folder.
for program in bin/krelwin-konstruktor bin/krelwin-stage \
               libexec/krelwin-konstruktor/krelwin-stage-pictures; do
    [ -x "$prefix/$program" ] || problem "not executable: $program"
done

stray=$(cd "$prefix" && find . -type f ! -path './bin/*' ! -path './share/*' \
        ! -path './libexec/krelwin-konstruktor/*')
[ -z "$stray" ] || problem "installed outside bin/, libexec/krelwin-konstruktor/ and share/: $stray"

# The icon theme looks the size up by folder name: each PNG must be exactly that size.
for size in 16 24 32 48 64 96 128; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/krelwin-konstruktor.png
    if [ ! -f "$png" ]; then
        problem "not installed: ${png#$prefix/}"
    elif command -v file >/dev/null && ! file "$png" | grep -q "PNG image data, $size x $size"; then
        problem "icon is not a ${size}x${size} PNG: $(file -b "$png")"
    fi
done
svg=$prefix/share/icons/hicolor/scalable/apps/krelwin-konstruktor.svg
grep -q 'shape-rendering="crispEdges"' "$svg" 2>/dev/null && grep -q '<rect ' "$svg" ||
    problem "the scalable icon is not made of crisp squares"

share=$prefix/share
# A file opened from the file manager reaches the editor: the entry passes it.
grep -qx 'Exec=krelwin-konstruktor %f' "$share/applications/krelwin-konstruktor.desktop" ||
    problem "the menu entry does not pass the file (%f)"
thumbnailer=$share/thumbnailers/krelwin-konstruktor.thumbnailer
for line in '[Thumbnailer Entry]' 'Exec=krelwin-stage thumbnail %i %o %s' \
            'MimeType=application/x-krelwin-map;'; do
    grep -qxF "$line" "$thumbnailer" 2>/dev/null || problem "thumbnailer lacks: $line"
done
# The software centre entry starts the installed menu entry.
grep -q '<launchable type="desktop-id">krelwin-konstruktor.desktop</launchable>' \
    "$share/metainfo/$appstream_id.metainfo.xml" 2>/dev/null ||
    problem "the metainfo does not launch krelwin-konstruktor.desktop"

# The machine-readable copyright format: its header, and every license named has its text.
copyright=$share/doc/krelwin-konstruktor/copyright
head -1 "$copyright" 2>/dev/null |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    problem "copyright is not in the machine-readable format"
grep -qx 'Files: \*' "$copyright" 2>/dev/null || problem "copyright covers no files"
for license in $(sed -n 's/^License: //p' "$copyright" 2>/dev/null | sort -u); do
    [ "$(grep -c "^License: $license\$" "$copyright")" -ge 2 ] ||
        problem "copyright names license $license without its text"
done
# Compressed without name or time, and naming the version the programs show.
for gz in "$share/doc/krelwin-konstruktor/changelog.gz" "$share"/man/man1/*.1.gz \
          "$share"/man/en/man1/*.1.gz; do
    gzip -t "$gz" 2>/dev/null || { problem "not gzip: ${gz#$prefix/}"; continue; }
    [ "$(od -An -tu1 -j4 -N4 "$gz" | tr -d ' ')" = 0000 ] || problem "gzip keeps a time: $gz"
done
version=$("$prefix/bin/krelwin-stage" --version | sed 's/^krelwin-stage //')
zcat "$share/doc/krelwin-konstruktor/changelog.gz" 2>/dev/null | head -1 |
    grep -q "^krelwin-konstruktor ($version) " ||
    problem "the changelog's latest entry is not version $version"

"$prefix/bin/krelwin-stage" --help | grep -q '^Usage: krelwin-stage' ||
    problem "the installed krelwin-stage does not run"

# The sample pack, when the build installs one, must pass the installed checker.
examples=$prefix/share/krelwin-konstruktor/examples
if [ -d "$examples" ]; then
    for pack in "$examples"/*.map; do
        [ -e "$pack" ] || continue
        "$prefix/bin/krelwin-stage" check "$pack" || problem "sample pack has problems: $pack"
        # The installed krelwin-stage finds its picture program from where it stands.
        QT_QPA_PLATFORM=offscreen "$prefix/bin/krelwin-stage" thumbnail "$pack" "$prefix/t.png" 64 &&
            [ -s "$prefix/t.png" ] || problem "the installed krelwin-stage draws no thumbnail"
        rm -f "$prefix/t.png"
    done
fi
exit $fail
