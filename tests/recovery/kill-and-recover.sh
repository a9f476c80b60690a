#!/usr/bin/env bash
# Recovery copies on a real X server: an editor killed with SIGKILL after
# changes, and one whose window was closed with unsaved changes; the next
# start offers the copy, and Open brings back the same diagram, byte for
# byte as Save writes it. The editor itself shows the list at start after
# the file named, and not with --no-recovery.
# Usage: kill-and-recover.sh PATH/TO/recovery_peer PATH/TO/tresselby SOURCE-DIR
set -u
peer=$1
editor=$2
source=$3
work=$(mktemp -d)
. "$source/tests/support/checks.sh"
. "$source/tests/support/xvfb.sh"
start_qt_on_xvfb || exit 1

killed() {
    export XDG_STATE_HOME="$work/killed"
    "$peer" edit "$work/killed.tsb" "$work/ready" &
    local p=$!
    started_pids+=("$p")
    for _ in $(seq 300); do [ -e "$work/ready" ] && break; sleep 0.1; done
    [ -e "$work/ready" ] || { echo "the editor did not write its copy"; return 1; }
    kill -9 "$p"
    wait "$p" 2>/dev/null
    "$peer" recover "$work/killed.tsb"
}
check "a killed editor's copy is offered and opens as it was" killed

closed() {
    export XDG_STATE_HOME="$work/closed"
    "$peer" close "$work/closed.tsb" || return 1
    "$peer" recover "$work/closed.tsb"
}
check "a closed window's copy is offered and opens as it was" closed

# The editor itself, with a kept copy: the list shows after the window.
windows() { xwininfo -root -tree | grep -o '"Tresselby Diagram Tool"\|"Recover Unsaved Diagrams"' | sort -u | tr '\n' ' '; }
shows() { # expected titles, then the editor's arguments
    local want=$1
    shift
    "$editor" "$@" >"$work/editor.log" 2>&1 &
    local p=$!
    started_pids+=("$p")
    local seen=""
    for _ in $(seq 150); do
        seen=$(windows)
        [ "$seen" = "$want" ] && break
        sleep 0.1
    done
    sleep 0.5
    seen=$(windows)
    kill "$p" 2>/dev/null
    wait "$p" 2>/dev/null
    [ "$want" = "$seen" ] || cat "$work/editor.log"
    same "$want" "$seen"
}
export XDG_STATE_HOME="$work/start"
"$peer" close "$work/start.tsb"
check "--no-recovery starts without the list" \
    shows '"Tresselby Diagram Tool" ' --no-recovery "$source/tests/data/worked-example.tsb"
check "the editor opens the file named, then shows the list" \
    shows '"Recover Unsaved Diagrams" "Tresselby Diagram Tool" ' "$source/tests/data/worked-example.tsb"
finish
