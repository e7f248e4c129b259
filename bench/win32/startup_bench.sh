#!/bin/bash
# Start-up of the Windows program under Wine against a minimal dialog program built the same way:
# the time from process start to the first question shown, and the peak working set then.
#
#   bench/win32/startup_bench.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR (default build/win64) holds Zembra.exe and bench/win32/. Both programs are started in
# turn, RUNS times each (default 15), by the probe inside one warm Wine session with its own
# prefix; the medians and their ratios are printed. The first run of each is a warm-up and is
# not counted.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build/win64}" && pwd)
runs=${2:-15}
wine_run=$here/../../tools/wine/wine-run
root=$build/wine-bench
probe=$build/bench/win32/zembra_bench_first_question.exe
zembra="Z:${build//\//\\}\\Zembra.exe"
minimal="Z:${build//\//\\}\\bench\\win32\\zembra_bench_minimal_dialog.exe"

measure() { "$wine_run" --root "$root" "$probe" "$1" 2>/dev/null | tr -d '\r' | tail -1; }

declare -a zembra_ms zembra_kib minimal_ms minimal_kib
measure "$zembra" >/dev/null
measure "$minimal" >/dev/null
for ((i = 0; i < runs; i++)); do
    read -r ms kib < <(measure "$zembra")
    zembra_ms+=("$ms"); zembra_kib+=("$kib")
    read -r ms kib < <(measure "$minimal")
    minimal_ms+=("$ms"); minimal_kib+=("$kib")
done
"$wine_run" --root "$root" --stop

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
zm=$(median "${zembra_ms[@]}"); mm=$(median "${minimal_ms[@]}")
zk=$(median "${zembra_kib[@]}"); mk=$(median "${minimal_kib[@]}")
printf 'runs: %d each, medians\n' "$runs"
printf '%-16s %12s %18s\n' program "first question" "peak working set"
printf '%-16s %9.1f ms %14d KiB\n' Zembra "$zm" "$zk"
printf '%-16s %9.1f ms %14d KiB\n' "minimal dialog" "$mm" "$mk"
awk -v a="$zm" -v b="$mm" -v c="$zk" -v d="$mk" 'BEGIN {printf "ratio            %9.2f    %14.2f\n", a / b, c / d}'
