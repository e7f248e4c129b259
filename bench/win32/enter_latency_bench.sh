#!/bin/bash
# The time from an Enter key to the end of the painting that shows its result, in the Windows
# program's real dialog under Wine (bench/win32/enter_latency_probe.cpp): 200 presses alternating
# submit and next per run, median and 99th percentile.
#
#   bench/win32/enter_latency_bench.sh [BUILD_DIR] [RUNS]
#   (BASELINE=BASE_DIR in the environment: the probe of another build of the same architecture,
#   of an older commit say, runs in the same session too, in turn with this one)
#
# BUILD_DIR (default build/win32, the shipped 32-bit build) holds bench/win32/. Each probe runs
# RUNS times (default 3) in one warm Wine session with its own prefix; every run's figures are
# printed, with the load average before it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build/win32}" && pwd)
runs=${2:-${RUNS:-3}}
wine_run=$here/../../tools/wine/wine-run
root=$build/wine-bench
probe=bench/win32/zembra_bench_enter_latency.exe

names=(Zembra)
probes=("$build/$probe")
if [[ -n ${BASELINE:-} ]]; then
    names+=("baseline")
    probes+=("$(cd "$BASELINE" && pwd)/$probe")
fi
for file in "${probes[@]}"; do
    [[ -f $file ]] || { echo "missing $file: build the preset first" >&2; exit 1; }
done

"$wine_run" --root "$root" "${probes[0]}" >/dev/null 2>&1 || true  # warms the session
for ((i = 1; i <= runs; i++)); do
    for p in "${!probes[@]}"; do
        printf '%s, run %d, load average %s\n' "${names[$p]}" "$i" "$(cut -d' ' -f1-3 /proc/loadavg)"
        "$wine_run" --root "$root" "${probes[$p]}" 2>&1 | tr -d '\r' | sed 's/^/  /'
    done
done
"$wine_run" --root "$root" --stop
