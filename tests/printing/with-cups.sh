#!/usr/bin/env bash
# Runs a test program against a private CUPS server with one PDF queue on the
# CUPS-PDF back end; the program finds the server through CUPS_SERVER and the
# folder the queue writes to through TRESSELBY_PDF_OUT.
set -euo pipefail
program="$1"
if [ "$(id -u)" -ne 0 ]; then
    echo "the CUPS-PDF back end runs only for a root cupsd; run as root"
    exit 1
fi
work=$(mktemp -d /tmp/tresselby-cups.XXXXXX)
queue="TresselbyTest$$"
conf="/etc/cups/cups-pdf-$queue.conf"
cupsd_pid=""
cleanup() {
    [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null || true
    rm -f "$conf"
    rm -rf "$work"
}
trap cleanup EXIT

# cupsd drops to the lp user for filters: they must reach the folders.
chmod 755 "$work"
mkdir -p "$work/cache" "$work/state" "$work/spool" "$work/tmp" "$work/out" "$work/pdf-spool"
chgrp lp "$work/tmp"
chmod 1770 "$work/tmp"
cat >"$work/cupsd.conf" <<CONF
Listen $work/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$work/cups-files.conf" <<CONF
ServerRoot $work
CacheDir $work/cache
StateDir $work/state
RequestRoot $work/spool
TempDir $work/tmp
ServerBin /usr/lib/cups
DataDir /usr/share/cups
AccessLog $work/access_log
ErrorLog $work/error_log
PageLog $work/page_log
SystemGroup root
CONF
# The back end reads the settings of a queue from a file named after it.
cat >"$conf" <<CONF
Out $work/out
AnonDirName $work/out
Spool $work/pdf-spool
CONF

cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER="$work/cups.sock"
for _ in $(seq 100); do [ -S "$CUPS_SERVER" ] && break; sleep 0.1; done
[ -S "$CUPS_SERVER" ] || { echo "cupsd did not start"; cat "$work/error_log" 2>/dev/null; exit 1; }
lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    2> >(grep -v "deprecated" >&2)
lpadmin -d "$queue"

export TRESSELBY_PDF_OUT="$work/out" TRESSELBY_PDF_QUEUE="$queue"
status=0
"$program" || status=$?
if [ "$status" -ne 0 ] && [ -f "$work/error_log" ]; then
    echo "--- cupsd error log"
    cat "$work/error_log"
fi
exit "$status"
