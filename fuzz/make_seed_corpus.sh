#!/usr/bin/env bash
# Rebuilds the seed corpus from our own tool plus hand-made malformed files.
#   fuzz/make_seed_corpus.sh PATH/TO/krelwin-stage
# Reader seeds are stage files as they are; a merge seed is five bytes (the form, then the lengths
# of the base and of ours, little-endian; see fuzz_merge.cpp) followed by the three packs; a writer
# seed is two bytes (byte 0 modulo 6: append,
# replace, rename, delete, move or duplicate; byte 1 modulo 8: the index to write to, and byte 1
# divided by 8, modulo 8, the index a move goes to, modulo 4 the duplicate's name) followed by a
# stage file.
set -euo pipefail
tool=$(realpath "${1:?usage: $0 PATH/TO/krelwin-stage}")
cd "$(dirname "$0")/corpus"
rm -f reader/* writer/* merge/*
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

stage() { "$tool" generate --seed "$1" --size "$2" --name "$3"; }

# Files our own tool writes: generated stages gathered into one file through copy.
stage 1 18x10 "Etap 01" >"$scratch/one.map"
stage 2 20x12 "Etap (2)" >"$scratch/two.map"
stage 3 19x10 "" >"$scratch/three.map"
"$tool" copy "$scratch/one.map" 0 "$scratch/three-stages.map" -1
"$tool" copy "$scratch/two.map" 0 "$scratch/three-stages.map" -1 --name "Etap (2)"
"$tool" copy "$scratch/three.map" 0 "$scratch/three-stages.map" -1 --name " blanks "
cp "$scratch/one.map" reader/one-stage.map
cp "$scratch/three-stages.map" reader/three-stages.map
three=reader/three-stages.map

# Line ends: CR alone (reads alike), LF alone (one single line), none at the very end.
tr -d '\n' <"$three" >reader/cr-only.map
tr -d '\r' <"$three" >reader/lf-only.map
head -c -2 "$three" >reader/unended-last-line.map
# Byte 26: in the middle of a record, at the very end, and as the whole file.
{ head -c 400 "$three"; printf '\x1a'; tail -c +401 "$three"; } >reader/end-mark-middle.map
{ cat "$three"; printf '\x1a'; } >reader/end-mark-last.map
printf '\x1a' >reader/end-mark-only.map
# Short lines: a parameter line without its type column, rows shorter than the width, rows
# missing because the file ends early.
printf '(short)\r\n}\r\n18,10,010,010\r\n{\r\nS+\r\n+W\r\n' >reader/short-lines.map
# Sizes above 80 and fields the conversion must take or refuse.
{ printf '(wide)\r\n}\r\n99,99,010,010,010,010,010,100,Z,00\r\n{\r\n'
  for r in 1 2 3; do printf '%099d\r\n' 0; done; } >reader/width-99.map
printf '(neg)\r\n}\r\n-1, 5,000,-01,  7,999,0x1,100,X,\r\n{\r\nSW\r\n' >reader/odd-numbers.map
printf '(bad)\r\n}\r\nab,10,010,010,010,010,010,100,Z,\r\n{\r\n' >reader/not-a-number.map
# Markers where they do not belong: a name with "}" and parentheses, a colour text with "(".
{ printf '(a}b)\r\n'; tail -n +2 "$scratch/two.map"; cat "$scratch/one.map"; } >reader/brace-in-name.map
{ printf '(()\r\n'; tail -n +2 "$scratch/one.map" | sed 's/,55,/,5(,/'; cat "$scratch/two.map"; } >reader/parenthesis-in-colours.map
printf '()\r\n}\r\n' >reader/brace-line-at-end.map
# A "}" in a name or a row of the first stage: a replace must still keep every later stage.
{ printf '(a}b)\r\n'; tail -n +2 "$scratch/one.map"; cat "$three"; } >reader/stray-brace-in-name.map
{ sed '$ s/...\r$/+}+\r/' "$scratch/one.map"; cat "$three"; } >reader/stray-brace-in-row.map
# A "(" in a row: the stage loads, but no write may store it again.
{ sed '$ s/^./(/' "$scratch/one.map"; cat "$three"; } >reader/parenthesis-in-row.map

# Writer seeds: each reader seed, appended to and replaced at a few indices.
for f in reader/*; do
    base=$(basename "$f" .map)
    { printf '\x00\x00'; cat "$f"; } >"writer/append-$base"
    { printf '\x01\x00'; cat "$f"; } >"writer/replace-0-$base"
    { printf '\x01\x01'; cat "$f"; } >"writer/replace-1-$base"
    { printf '\x02\x01'; cat "$f"; } >"writer/rename-1-$base"
done
{ printf '\x01\x02'; cat "$three"; } >writer/replace-last-three-stages
{ printf '\x01\x03'; cat "$three"; } >writer/replace-past-end-three-stages
printf '\x00\x00' >writer/append-empty
# The stage written holds a cell that breaks the record count: "(", "}" and CR (byte 1 / 8).
{ printf '\x00\x08'; cat "$three"; } >writer/append-cell-parenthesis
{ printf '\x01\x10'; cat "$three"; } >writer/replace-0-cell-brace
{ printf '\x01\x19'; cat "$three"; } >writer/replace-1-cell-carriage-return
# Found by fuzzing: replacing the stage after a stray "}" lost the stages after it.
for f in reader/stray-brace-in-*; do
    { printf '\x01\x02'; cat "$f"; } >"writer/replace-2-$(basename "$f" .map)"
done
# Rearranging: delete, move and duplicate at the first, a middle and the last stage, past the
# end, and on files whose records hold stray markers, two "}" lines in a row ("(a}b)" before
# its "}" line) or end with a bare "}" line.
for f in "$three" reader/stray-brace-in-*.map reader/brace-in-name.map reader/brace-line-at-end.map \
    reader/parenthesis-in-row.map reader/unended-last-line.map reader/end-mark-middle.map; do
    base=$(basename "$f" .map)
    { printf '\x03\x00'; cat "$f"; } >"writer/delete-0-$base"
    { printf '\x03\x02'; cat "$f"; } >"writer/delete-2-$base"
    { printf '\x04\x10'; cat "$f"; } >"writer/move-0-to-2-$base"
    { printf '\x04\x02'; cat "$f"; } >"writer/move-2-to-0-$base"
    { printf '\x05\x01'; cat "$f"; } >"writer/duplicate-1-$base"
    { printf '\x05\x0a'; cat "$f"; } >"writer/duplicate-2-named-$base"
done
{ printf '\x03\x03'; cat "$three"; } >writer/delete-past-end-three-stages
{ printf '\x04\x09'; cat "$three"; } >writer/move-1-to-itself-three-stages
{ printf '\x04\x18'; cat "$three"; } >writer/move-0-past-end-three-stages
{ printf '\x05\x12'; cat "$three"; } >writer/duplicate-2-empty-name-three-stages
{ printf '\x05\x18'; cat "$three"; } >writer/duplicate-0-refused-name-three-stages
# A last record of a name line and "}" alone is not listed until another record follows it.
{ cat "$three"; printf '(bare)\r\n}\r\n'; } >"$scratch/bare-last.map"
{ printf '\x04\x03'; cat "$scratch/bare-last.map"; } >writer/move-3-to-0-bare-last
{ printf '\x04\x18'; cat "$scratch/bare-last.map"; } >writer/move-0-to-3-bare-last
{ printf '\x03\x03'; cat "$scratch/bare-last.map"; } >writer/delete-3-bare-last
{ printf '\x05\x03'; cat "$scratch/bare-last.map"; } >writer/duplicate-3-bare-last

# Merges of the three-stage file: stage 0 is lines 1-14, stage 1 lines 15-30, stage 2 lines 31-44.
# merge_seed NAME FORM BASE OURS THEIRS
merge_seed() {
    local base_length ours_length
    base_length=$(wc -c <"$3")
    ours_length=$(wc -c <"$4")
    { printf "\\x$(printf %02x "$2")"
      printf "\\x$(printf %02x $((base_length % 256)))\\x$(printf %02x $((base_length / 256)))"
      printf "\\x$(printf %02x $((ours_length % 256)))\\x$(printf %02x $((ours_length / 256)))"
      cat "$3" "$4" "$5"; } >"merge/$1"
}
mkdir -p merge
sed '5s/^+/o/' "$three" >"$scratch/stage0-changed.map"
sed '35s/^+/W/' "$three" >"$scratch/stage2-changed.map"
sed '19s/^+/S/' "$three" >"$scratch/stage1-start.map"
sed '19s/^+/*/' "$three" >"$scratch/stage1-diamond.map"
{ sed -n '31,44p' "$three"; sed -n '1,30p' "$three"; } >"$scratch/stage2-first.map"
sed '15,30d' "$three" >"$scratch/stage1-removed.map"
sed '1s/Etap 01/Pierwszy/' "$three" >"$scratch/stage0-renamed.map"
cat "$three" reader/one-stage.map >"$scratch/stage-added.map"
merge_seed one-side-each 0 "$three" "$scratch/stage0-changed.map" "$scratch/stage2-changed.map"
merge_seed changed-on-both 0 "$three" "$scratch/stage1-start.map" "$scratch/stage1-diamond.map"
merge_seed removed-in-ours-changed-in-theirs 0 "$three" "$scratch/stage1-removed.map" \
    "$scratch/stage1-diamond.map"
merge_seed moved-and-renamed 0 "$three" "$scratch/stage2-first.map" "$scratch/stage0-renamed.map"
merge_seed ours-moved 1 "$three" "$scratch/stage2-first.map" /dev/null
merge_seed theirs-added 2 "$three" /dev/null "$scratch/stage-added.map"
merge_seed lf-only-ours 1 "$three" reader/lf-only.map /dev/null
merge_seed empty-packs 0 /dev/null /dev/null /dev/null
