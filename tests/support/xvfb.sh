# Starts an X server of the test's own, sourced by the script tests.
# `start_xvfb FIRST LAST` takes the first free display number in that range,
# writes the server's log to $work/xvfb.log, waits for its socket, exports
# DISPLAY and leaves the server's process id in xvfb_pid for the test's
# clean-up.
xvfb_pid=""
start_xvfb() {
    local display="" n
    for n in $(seq "$1" "$2"); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
    done
    [ -n "$display" ] || { echo "no free display"; return 1; }
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
    [ -e "/tmp/.X11-unix/X${display#:}" ] || { echo "the X server did not start"; return 1; }
    export DISPLAY="$display"
}
