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
start_qt_on_xvfb || exit 1
"$tests" --gtest_filter='ExportProgress.*'
