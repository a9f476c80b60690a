#!/usr/bin/env bash
# The editor opening the diagram named on its command line, on a real X
# server: through the peer, which starts the editor as its program entry does
# and checks it from inside, and through the editor itself, whose windows
# are read off the server.
# Usage: open-at-start.sh PATH/TO/open_at_start_peer PATH/TO/tresselby SOURCE-DIR
set -u
peer=$1
editor=$2
source=$3
data=$source/tests/data
work=$(mktemp -d)
support=$source/tests/support
. "$support/checks.sh"
. "$support/xvfb.sh"
editor_pid=""
start_qt_on_xvfb || exit 1
# Recovery copies of the user's own editors stay out of the test.
export XDG_STATE_HOME="$work/state"

# Files that open: a sample, every kind of element under a name with a space
# and a non-ASCII letter, and a name starting with "-" after "--".
check "opens a sample" "$peer" opens "$data/worked-example.tsb"
cp "$source/fuzz/corpus/reader/every-class.tsb" "$work/every kind ä.tsb"
check "opens every kind of element" "$peer" opens "$work/every kind ä.tsb"
cp "$data/caption-only.tsb" "$work/-dash.tsb"
check "opens a relative name after --" bash -c 'cd "$1" && "$2" opens -- -dash.tsb' \
    bash "$work" "$peer"

# Files that do not: the message box says why, and the diagram is empty.
check "a missing file" "$peer" fails "Cannot open file $work/missing.tsb." "$work/missing.tsb"
head -c 300 "$data/caption-only.tsb" >"$work/broken.tsb"
check "a broken file" "$peer" fails "Stream read error." "$work/broken.tsb"
check "a file that is no diagram" "$peer" fails "Stream read error." \
    "$source/resources/desktop/hicolor/16x16/apps/org.example.Tresselby.png"
check "a folder" "$peer" fails "Cannot open file $work." "$work"

# The editor itself: its main window, and the message box over it when the
# file cannot be opened. Titles are read off the X server.
windows() { xwininfo -root -tree | grep -o '"Tresselby [A-Za-z ]*"' | sort -u | tr '\n' ' '; }
wait_for() { # the titles expected
    for _ in $(seq 150); do [ "$(windows)" = "$1" ] && return 0; sleep 0.1; done
    echo "windows: $(windows)"
    return 1
}
stop_editor() {
    kill "$editor_pid" 2>/dev/null
    wait "$editor_pid" 2>/dev/null
    editor_pid=""
}
"$editor" "$work/missing.tsb" >"$work/editor.log" 2>&1 &
editor_pid=$!
started_pids+=("$editor_pid")
check "the editor shows the message box over its window" \
    wait_for '"Tresselby Application" "Tresselby Diagram Tool" '
check "the editor waits for the message box to be answered" kill -0 "$editor_pid"
stop_editor
"$editor" "$data/worked-example.tsb" >"$work/editor.log" 2>&1 &
editor_pid=$!
started_pids+=("$editor_pid")
check "the editor shows its window and no message box" wait_for '"Tresselby Diagram Tool" '
sleep 1
check "the editor shows no message box later either" wait_for '"Tresselby Diagram Tool" '
check "the editor keeps running" kill -0 "$editor_pid"
stop_editor

finish
