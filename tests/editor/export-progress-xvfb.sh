#!/usr/bin/env bash
# The export's progress window on a real X server: the editor tests of
# ExportProgress (the typed extension, the page too wide for JPEG, Cancel
# through the progress window) run against Xvfb instead of offscreen.
# Usage: export-progress-xvfb.sh PATH/TO/test_editor SOURCE-DIR
set -u
tests=$1
source=$2
work=$(mktemp -d)
. "$source/tests/support/xvfb.sh"
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
start_xvfb || exit 1
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
export LSAN_OPTIONS="suppressions=$source/tests/clipboard/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
"$tests" --gtest_filter='ExportProgress.*'
