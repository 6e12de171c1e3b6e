#!/bin/bash
# Installs the build into a temporary prefix and checks what lands where: both programs, the
# menu entry, the icons and the stage file type, nothing outside bin/ and share/, and that the
# installed programs run from there.
set -u
build=$1
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
            share/mime/packages/krelwin-map.xml; do
    [ -f "$prefix/$file" ] || problem "not installed: $file"
done
for program in krelwin-konstruktor krelwin-stage; do
    [ -x "$prefix/bin/$program" ] || problem "not executable: bin/$program"
done

stray=$(cd "$prefix" && find . -type f ! -path './bin/*' ! -path './share/*')
[ -z "$stray" ] || problem "installed outside bin/ and share/: $stray"

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

"$prefix/bin/krelwin-stage" --help | grep -q '^Usage: krelwin-stage' ||
    problem "the installed krelwin-stage does not run"

# The sample pack, when the build installs one, must pass the installed checker.
examples=$prefix/share/krelwin-konstruktor/examples
if [ -d "$examples" ]; then
    for pack in "$examples"/*.map; do
        [ -e "$pack" ] || continue
        "$prefix/bin/krelwin-stage" check "$pack" || problem "sample pack has problems: $pack"
    done
fi
exit $fail
