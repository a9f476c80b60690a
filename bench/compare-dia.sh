#!/usr/bin/env bash
# The converter's JPEG export of the 30,000-element diagram against Dia's PNG
# export of a diagram of the same size and kind (bench/make-dia-diagram.py),
# both timed on this machine in the same run, with their peak memory.
# Installs Debian's dia (and GNU time) when missing, for this measurement
# only: the project itself does not use Dia.
#
#   bench/compare-dia.sh [BUILD_DIR]      (default: build)
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

measure() { # label, command...
  local label=$1; shift
  /usr/bin/time -f "$label: %e s wall, %U s user, %S s system, peak %M KB" "$@" >/dev/null 2>"$work/time.txt" || {
    cat "$work/time.txt"; exit 1; }
  tail -n 1 "$work/time.txt"
}
runs=${RUNS:-3}
for i in $(seq "$runs"); do
  measure "tresselby-convert big.tsb big.jpg" env QT_QPA_PLATFORM=offscreen \
    "$build/tools/tresselby-convert" "$work/big.tsb" "$work/big.jpg"
  measure "dia --size=16040x10040 -e big.png big.dia" env -u DISPLAY \
    dia --nosplash --size=16040x10040 -t png -e "$work/big.png" "$work/big.dia"
done
ls -l "$work/big.jpg" "$work/big.png" | awk '{print $5, $9}'
