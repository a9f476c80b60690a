#!/usr/bin/env bash
# The converter's export of the 30,000-element diagram against Dia's export
# of a diagram of the same size and kind (bench/make-dia-diagram.py), format
# for format (PNG, SVG, PDF), both timed on this machine in the same run,
# with their peak memory and file sizes. Runs alternate between the two
# programs; the table gives the median wall time of the runs.
# Installs Debian's dia (and GNU time) when missing, for this measurement
# only: the project itself does not use Dia.
#
#   bench/compare-dia.sh [BUILD_DIR]      (default: build; RUNS=3)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for p in dia time; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq dia time >/dev/null
    break
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_make_diagram" "$work/big.tsb"
python3 bench/make-dia-diagram.py >"$work/big.dia"

# Appends "program format seconds peak-KB file-bytes" to results.txt.
measure() { # program, format, output file, command...
  local program=$1 format=$2 out=$3; shift 3
  rm -f "$out"
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || {
    cat "$work/err.txt"; exit 1; }
  echo "$program $format $(cat "$work/time.txt") $(stat -c %s "$out")" >>"$work/results.txt"
  echo "$program $format: $(cat "$work/time.txt") (s, peak KB)" >&2
}
runs=${RUNS:-3}
for i in $(seq "$runs"); do
  for format in png svg pdf; do
    measure tresselby "$format" "$work/big.$format" env QT_QPA_PLATFORM=offscreen \
      "$build/tools/tresselby-convert" "$work/big.tsb" "$work/big.$format"
    # -t svg is Dia's own SVG writer; -t pdf and -t png go through cairo.
    measure dia "$format" "$work/dia.$format" env -u DISPLAY \
      dia --nosplash --size=16040x10040 -t "$format" -e "$work/dia.$format" "$work/big.dia"
  done
done
python3 - "$work/results.txt" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    program, format, seconds, peak, size = line.split()
    r = rows.setdefault((program, format), {"s": [], "peak": [], "size": 0})
    r["s"].append(float(seconds)); r["peak"].append(int(peak)); r["size"] = int(size)
print("| Format | Our time | Dia's time | Ratio | Our peak | Dia's peak | Our file | Dia's file |")
print("|---|---|---|---|---|---|---|---|")
for format in ("png", "svg", "pdf"):
    ours, dia = rows[("tresselby", format)], rows[("dia", format)]
    t, d = statistics.median(ours["s"]), statistics.median(dia["s"])
    mb = lambda kb: f"{max(kb) / 1024:.0f} MB"
    size = lambda b: f"{b / 1e6:.2f} MB"
    print(f"| {format.upper()} | {t:.2f} s | {d:.2f} s | {t / d:.2f}x | {mb(ours['peak'])} | "
          f"{mb(dia['peak'])} | {size(ours['size'])} | {size(dia['size'])} |")
EOF
