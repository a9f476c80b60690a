# Starts an X server of the test's own, sourced by the script tests.
# `start_xvfb [WIDTHxHEIGHTxDEPTH]` lets the server take a free display number
# itself (-displayfd), so tests started at the same time never race for one;
# it writes the server's log to $work/xvfb.log, waits until the server
# accepts connections, exports DISPLAY and leaves the server's process id in
# xvfb_pid for the test's clean-up. The server never resets: by default it
# does when its last client leaves, and a client connecting meanwhile fails.
xvfb_pid=""
start_xvfb() {
    local screen="${1:-1280x1024x24}" fifo="$work/xvfb.display" n=""
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fifo" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    # The number comes once the server is ready; an end of file, when it
    # could not start.
    read -r -t 30 n <"$fifo" || true
    rm -f "$fifo"
    [ -n "$n" ] || { echo "the X server did not start"; cat "$work/xvfb.log"; return 1; }
    export DISPLAY=":$n"
}

# Processes a test started on the server, ended at exit before the server.
started_pids=()
end_xvfb_session() {
    for p in "${started_pids[@]}"; do kill -9 "$p" 2>/dev/null; done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}

# `start_qt_on_xvfb [WIDTHxHEIGHTxDEPTH]` starts the server and sets Qt up to
# show on it: the xcb platform, a runtime folder of the test's own, and the
# leak suppressions of the desktop libraries for the sanitizer build. At exit
# the started processes and the server end and $work is removed. Needs
# `source`, the source folder.
start_qt_on_xvfb() {
    trap end_xvfb_session EXIT
    start_xvfb "$@" || return 1
    mkdir -m 700 "$work/runtime"
    export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
    export LSAN_OPTIONS="suppressions=$source/tests/clipboard/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

# A window manager on the server, for what needs one (maximised windows,
# the active window taking short-cuts).
start_openbox() {
    openbox >"$work/openbox.log" 2>&1 &
    started_pids+=($!)
    sleep 0.5
}
