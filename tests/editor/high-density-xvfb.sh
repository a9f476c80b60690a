#!/usr/bin/env bash
# The editor on a screen of twice the density: the HighDensity editor tests on
# a real X server with QT_SCALE_FACTOR=2, the server's pointer moved by
# xdotool.
# Usage: high-density-xvfb.sh PATH/TO/test_editor SOURCE-DIR
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
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 XDG_RUNTIME_DIR="$work/runtime"
export LSAN_OPTIONS="suppressions=$source/tests/clipboard/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
"$tests" --gtest_filter='HighDensity.*'
