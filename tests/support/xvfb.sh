# Starts an X server of the test's own, sourced by the script tests.
# `start_xvfb [WIDTHxHEIGHTxDEPTH]` lets the server take a free display number
# itself (-displayfd), so tests started at the same time never race for one;
# it writes the server's log to $work/xvfb.log, waits until the server
# accepts connections, exports DISPLAY and leaves the server's process id in
# xvfb_pid for the test's clean-up.
xvfb_pid=""
start_xvfb() {
    local screen="${1:-1280x1024x24}" fifo="$work/xvfb.display" n=""
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    # The number comes once the server is ready; an end of file, when it
    # could not start.
    read -r -t 30 n <"$fifo" || true
    rm -f "$fifo"
    [ -n "$n" ] || { echo "the X server did not start"; cat "$work/xvfb.log"; return 1; }
    export DISPLAY=":$n"
}
