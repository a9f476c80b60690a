#!/usr/bin/env bash
# Runs tresselby-convert as a user would: conversion byte for byte, the
# element listing, and errors on standard error with OUT left alone.
# Usage: convert-test.sh PATH/TO/tresselby-convert TESTS/DATA DIAGRAM-SCHEMA
set -u
convert=$1
data=$2
schema=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() { # name, command...
    local name=$1
    shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
# No display and no platform chosen: the tool picks the offscreen one itself.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$convert" "$@"; }

for f in caption-only.tsb worked-example.tsb; do
    check "$f is there" test -f "$data/$f"
    check "convert $f" run "$data/$f" "$work/out.tsb"
    check "same bytes $f" cmp -s "$data/$f" "$work/out.tsb"
    # In place.
    cp "$data/$f" "$work/inplace.tsb"
    check "in place $f" run "$work/inplace.tsb" "$work/inplace.tsb"
    check "in place bytes $f" cmp -s "$data/$f" "$work/inplace.tsb"
done

run --dump "$data/caption-only.tsb" >"$work/dump.txt" 2>"$work/err.txt"
check "dump exit" test $? -eq 0
check "dump text" cmp -s "$data/caption-only.dump" "$work/dump.txt"

echo keep >"$work/keep.tsb"
run "$work/missing.tsb" "$work/keep.tsb" 2>"$work/err.txt"
check "missing exit" test $? -eq 1
check "missing message" grep -qx "Cannot open file $work/missing.tsb" "$work/err.txt"
check "missing keeps OUT" grep -qx keep "$work/keep.tsb"

head -c 300 "$data/caption-only.tsb" >"$work/broken.tsb"
run "$work/broken.tsb" "$work/keep.tsb" 2>"$work/err.txt"
check "broken exit" test $? -eq 1
check "broken message" grep -qx "Stream read error" "$work/err.txt"
check "broken keeps OUT" grep -qx keep "$work/keep.tsb"

run "$data/caption-only.tsb" "$work/no/such/dir/out.tsb" 2>"$work/err.txt"
check "create exit" test $? -eq 1
check "create message" grep -qx "Cannot create file $work/no/such/dir/out.tsb" "$work/err.txt"

# The output format follows the extension, whatever its case; an unknown
# one writes nothing.
for out in out.gif out.BMP out.svgz out.pdf.txt noextension; do
    run "$data/caption-only.tsb" "$work/$out" 2>"$work/err.txt"
    check "unknown $out exit" test $? -eq 1
    ext=${out##*.}
    [ "$ext" = "$out" ] && ext=
    check "unknown $out message" grep -qx "Unknown output file extension (.$ext)" "$work/err.txt"
    check "unknown $out writes nothing" test ! -e "$work/$out"
done
magic() { head -c "$2" "$1" | od -An -tx1 | tr -d ' \n'; }
run "$data/caption-only.tsb" "$work/out.JPEG"
check "upper-case JPEG" test "$(magic "$work/out.JPEG" 2)" = ffd8
for out in out.png out.PNG; do
    run "$data/caption-only.tsb" "$work/$out"
    check "PNG $out" test "$(magic "$work/$out" 8)" = 89504e470d0a1a0a
done
for out in out.pdf out.Pdf; do
    run "$data/caption-only.tsb" "$work/$out"
    check "PDF $out" test "$(head -c 5 "$work/$out")" = "%PDF-"
done
for out in out.svg out.SVG; do
    run "$data/caption-only.tsb" "$work/$out"
    check "SVG $out" grep -q "<svg" "$work/$out"
done
check "only the files asked for" \
    test "$(ls "$work" | grep '^out\.' | LC_ALL=C sort | tr '\n' ' ')" = \
    "out.JPEG out.PNG out.Pdf out.SVG out.pdf out.png out.svg out.tsb "

# A file that cannot be made: the editor's message, and no file left behind.
for ext in png pdf svg jpg; do
    run "$data/caption-only.tsb" "$work/no/such/dir/out.$ext" 2>"$work/err.txt"
    check "create $ext exit" test $? -eq 1
    check "create $ext message" grep -qx "Cannot create file $work/no/such/dir/out.$ext" "$work/err.txt"
done
# An existing file in the way is replaced whole, or left as it was.
echo keep >"$work/keep.png"
run "$work/broken.tsb" "$work/keep.png" 2>/dev/null
check "broken keeps the PNG" grep -qx keep "$work/keep.png"
run "$data/caption-only.tsb" "$work/keep.png"
check "PNG replaced" test "$(magic "$work/keep.png" 4)" = 89504e47
check "no temporary files" test -z "$(ls -A "$work" | grep -v -e '^out\.' -e '\.txt$' -e '\.tsb$' -e '^keep\.png$')"

run --dump 2>/dev/null
check "usage exit" test $? -eq 2
run --bogus "$data/caption-only.tsb" 2>/dev/null
check "unknown option exit" test $? -eq 2

# The wiring list and the diagram as data, by the extension in any case.
mkdir "$work/data"
run "$data/wiring.tsb" "$work/data/wiring.csv"
check "wiring list byte for byte" cmp -s "$data/wiring.csv" "$work/data/wiring.csv"
run "$data/wiring.tsb" "$work/data/wiring.Csv"
check "wiring list by .Csv" cmp -s "$data/wiring.csv" "$work/data/wiring.Csv"
for f in "$data"/*.tsb; do
    run "$f" "$work/data/$(basename "$f" .tsb).json"
    check "JSON of $(basename "$f")" test $? -eq 0
done
run "$data/caption-only.tsb" "$work/data/upper.JSON"
check "JSON by .JSON" cmp -s "$work/data/caption-only.json" "$work/data/upper.JSON"
check "every JSON valid against the schema" /usr/bin/python3 -c '
import json, sys, jsonschema
schema = json.load(open(sys.argv[1], encoding="utf-8"))
for name in sys.argv[2:]:
    jsonschema.validate(json.load(open(name, encoding="utf-8")), schema,
                        cls=jsonschema.Draft202012Validator)' "$schema" "$work"/data/*.json
for out in keep.csv keep.json; do
    echo keep >"$work/data/$out"
    run "$work/broken.tsb" "$work/data/$out" 2>"$work/err.txt"
    check "broken keeps $out" grep -qx keep "$work/data/$out"
    run "$data/caption-only.tsb" "$work/no/such/dir/$out" 2>"$work/err.txt"
    check "create $out message" grep -qx "Cannot create file $work/no/such/dir/$out" "$work/err.txt"
done
check "only the data files asked for" \
    test "$(ls "$work/data" | LC_ALL=C sort | tr '\n' ' ')" = \
    "caption-only.json keep.csv keep.json upper.JSON wiring.Csv wiring.csv wiring.json worked-example.json "

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
