#!/usr/bin/env bash
# Copy in one running editor, paste in another, through a real X server.
set -euo pipefail
peer="$1"
work=$(mktemp -d)
. "$(cd "$(dirname "$0")" && pwd)/../support/xvfb.sh"
copier_pid=""
cleanup() {
    [ -n "$copier_pid" ] && kill "$copier_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb 1024x768x24
export QT_QPA_PLATFORM=xcb
# Leak checking (sanitizer build) looks at our code, not at the desktop libraries.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

"$peer" copy "$work/ready" "$work/done" &
copier_pid=$!
for _ in $(seq 300); do [ -e "$work/ready" ] && break; sleep 0.1; done
[ -e "$work/ready" ] || { echo "the copying editor did not get ready"; exit 1; }

status=0
"$peer" paste || status=$?
touch "$work/done"
wait "$copier_pid" || true
copier_pid=""
if [ "$status" -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit "$status"
