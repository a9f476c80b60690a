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
start_qt_on_xvfb || exit 1
start_openbox
"$tests" --gtest_filter='*UndoRandom.ThroughMouseAndKeys*'
