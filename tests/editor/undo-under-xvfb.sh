#!/usr/bin/env bash
# The random undo test through mouse and key events, on a real X server with
# a window manager, where presses also change the order of the elements and
# their pointer, and short-cuts reach the active window as a user's do.
# Usage: undo-under-xvfb.sh PATH/TO/test_editor SOURCE-DIR
set -u
tests=$1
source=$2
work=$(mktemp -d)
. "$source/tests/support/xvfb.sh"
wm_pid=""
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb || exit 1
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
export LSAN_OPTIONS="suppressions=$source/tests/clipboard/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
sleep 0.5
"$tests" --gtest_filter='*UndoRandom.ThroughMouseAndKeys*'
