# Checks for the script tests, sourced after `work` names the test's own
# temporary folder. `check NAME COMMAND...` runs the command and counts it;
# a failed one is reported with what it printed. `finish` prints the closing
# line and returns the status.
passed=0
failed=0
check() {
    local name=$1
    shift
    if "$@" >"$work/check.log" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $name"
        cat "$work/check.log"
    fi
}
# Succeeds when the two texts are equal; shows both otherwise.
same() {
    [ "$1" = "$2" ] || { printf 'expected: %s\nactual:   %s\n' "$1" "$2"; return 1; }
}
finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
