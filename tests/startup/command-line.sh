#!/usr/bin/env bash
# The questions both programs answer on their command line, with no display
# to be had, and the command lines they refuse.
# Usage: command-line.sh PATH/TO/tresselby PATH/TO/tresselby-convert VERSION
set -u
editor=$1
convert=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../support/checks.sh"
# Runs a program with no display at all; its output lands in out, err, status.
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >"$work/out" 2>"$work/err"
    echo $? >"$work/status"
}
status() { test "$(cat "$work/status")" = "$1"; }
empty() { test ! -s "$work/$1"; }
first_line() { test "$(head -n 1 "$work/$1")" = "$2"; }
has() { grep -q -- "$2" "$work/$1"; }

usage_of_tresselby="Usage: tresselby [--no-recovery] [FILE.tsb]"
usage_of_tresselby_convert="Usage: tresselby-convert IN.tsb OUT"
for program in "$editor" "$convert"; do
    name=$(basename "$program")
    usage=usage_of_${name//-/_}
    run "$program" --version
    check "$name --version exits 0" status 0
    check "$name --version prints its name and version" \
        test "$(cat "$work/out")" = "$name $version"
    check "$name --version prints nothing else" empty err

    run "$program" --help
    check "$name --help exits 0" status 0
    check "$name --help prints the usage" first_line out "${!usage}"
    check "$name --help names --version" has out "--version"
    check "$name --help prints nothing on standard error" empty err

    run "$program" --no-such-option x
    check "$name refuses an unknown option with status 2" status 2
    check "$name shows the usage on standard error" has err "^Usage: $name"
    check "$name prints nothing on standard output when refusing" empty out
done

# The editor answers before it looks at anything else.
run "$editor" --help "$work/missing.tsb"
check "--help before a file" status 0
run "$editor" "$work/missing.tsb" --version
check "--version after a file" status 0
check "--version after a file prints the version" first_line out "tresselby $version"

# What the editor refuses, in its own words.
run "$editor" --bogus
check "unknown option message" first_line err "tresselby: unknown option '--bogus'"
run "$editor" -x
check "unknown short option" first_line err "tresselby: unknown option '-x'"
run "$editor" one.tsb two.tsb
check "two files refused" status 2
check "two files message" first_line err "tresselby: more than one file named"
run "$editor" ""
check "empty name refused" status 2
check "empty name message" first_line err "tresselby: empty file name"
run "$editor" -- --help one.tsb
check "two files after -- refused" first_line err "tresselby: more than one file named"

# The converter's --help and --version stand alone.
run "$convert" --help "$work/x.tsb"
check "converter --help with more refused" status 2
run "$convert" --version --help
check "converter --version with more refused" status 2

finish
