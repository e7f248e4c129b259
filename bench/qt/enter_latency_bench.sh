#!/usr/bin/env bash
# The time from an Enter key to the end of the painting that shows its result, in the Linux
# program's real dialog (bench/qt/enter_latency_probe.cpp): 200 presses alternating submit and
# next per run, median and 99th percentile, under Xvfb (the xcb platform) and on the offscreen
# platform.
# Usage: bench/qt/enter_latency_bench.sh [build folder, default build/linux]
#   RUNS=3        runs of each probe on each platform
#   BASELINE=dir  the build folder of another version, whose probe runs in turn with this one
set -euo pipefail

build=${1:-build/linux}
runs=${RUNS:-3}
probe=bench/qt/zembra_enter_latency_probe
names=(zembra)
paths=("$build/$probe")
[ -n "${BASELINE:-}" ] && names+=(baseline) && paths+=("$BASELINE/$probe")
for path in "${paths[@]}"; do
  [ -x "$path" ] || { echo "missing $path: build the linux preset first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
mkdir -p -m 0700 "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"

measure() {
  for ((i = 1; i <= runs; i++)); do
    for p in "${!paths[@]}"; do
      printf '%s, %s, run %d, load average %s\n' "${names[$p]}" "$1" "$i" "$(cut -d' ' -f1-3 /proc/loadavg)"
      "${paths[$p]}" 2>/dev/null | sed 's/^/  /'
    done
  done
}

# Xvfb picks a free display itself and names it.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 10 -u "$display_fd" display_number || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$display_number QT_QPA_PLATFORM=xcb measure xvfb
QT_QPA_PLATFORM=offscreen measure offscreen
