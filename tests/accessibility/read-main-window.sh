#!/usr/bin/env bash
# Starts the editor on a real X server with a window manager and a desktop
# accessibility bus, and reads it as a screen reader does.
# Usage: read-main-window.sh PATH/TO/tresselby
set -euo pipefail
editor="$1"
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
. "$here/../support/xvfb.sh"
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb

mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=xcb HOME="$work" XDG_RUNTIME_DIR="$work/runtime"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
export LSAN_OPTIONS="suppressions=$here/../clipboard/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# A session bus of our own: the accessibility bus starts on it on demand.
export READ_ARGS="${READ_ARGS:-}"
status=0
dbus-run-session -- bash -c '
    openbox >"$1/openbox.log" 2>&1 &
    wm=$!
    "$2" >"$1/editor.log" 2>&1 &
    editor=$!
    status=0
    /usr/bin/python3 "$3" $READ_ARGS || status=$?
    kill "$editor" "$wm" 2>/dev/null || true
    wait "$editor" 2>/dev/null || true
    [ "$status" -eq 0 ] || cat "$1/editor.log"
    exit "$status"
' bash "$work" "$editor" "$here/read-main-window.py" || status=$?
exit "$status"
