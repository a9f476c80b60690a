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
start_qt_on_xvfb || exit 1
export QT_SCALE_FACTOR=2
"$tests" --gtest_filter='HighDensity.*'
