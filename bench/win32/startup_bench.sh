#!/bin/bash
# Start-up of the Windows program under Wine against a minimal dialog program built the same way,
# once with the manifest of Zembra.exe (common controls 6, screen-scale awareness: the fair
# yardstick, whose ratios are the goals) and once without: the time from process start to the
# first question shown, and the peak working set then.
#
#   bench/win32/startup_bench.sh [--baseline BASE_DIR] [BUILD_DIR] [RUNS]
#   (or BASELINE=BASE_DIR and RUNS=N in the environment, as for the Qt benchmark)
#
# BUILD_DIR (default build/win32, the shipped 32-bit build) holds Zembra.exe and bench/win32/.
# With a baseline, the Zembra.exe of BASE_DIR (another build of the same architecture, of an older
# commit say) runs in the same session too, so that before and after come from one run. The
# programs are started in turn, RUNS times each (default 15), by the probe inside one warm Wine
# session with its own prefix; the medians and their ratios to the two minimal dialogs are printed.
# The first run of each is a warm-up and is not counted.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
baseline=${BASELINE:-}
if [[ ${1:-} == --baseline ]]; then
    baseline=$2
    shift 2
fi
[[ -z $baseline ]] || baseline=$(cd "$baseline" && pwd)
build=$(cd "${1:-build/win32}" && pwd)
runs=${2:-${RUNS:-15}}
wine_run=$here/../../tools/wine/wine-run
root=$build/wine-bench
probe=$build/bench/win32/zembra_bench_first_question.exe
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

names=(Zembra)
programs=("$(windows_path "$build/Zembra.exe")")
if [[ -n $baseline ]]; then
    names+=("Zembra baseline")
    programs+=("$(windows_path "$baseline/Zembra.exe")")
fi
names+=("same manifest" "minimal dialog")
programs+=("$(windows_path "$build/bench/win32/zembra_bench_minimal_dialog_manifest.exe")"
    "$(windows_path "$build/bench/win32/zembra_bench_minimal_dialog.exe")")
for file in "$probe" "$build/Zembra.exe" ${baseline:+"$baseline/Zembra.exe"} \
    "$build/bench/win32/zembra_bench_minimal_dialog_manifest.exe"; do
    [[ -f $file ]] || { echo "missing $file: build the preset first" >&2; exit 1; }
done

measure() { "$wine_run" --root "$root" "$probe" "$1" 2>/dev/null | tr -d '\r' | tail -1; }

# One line of "ms kib" per run, in a file for each program.
load=$(cut -d' ' -f1-3 /proc/loadavg)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for program in "${programs[@]}"; do measure "$program" >/dev/null; done
for ((i = 0; i < runs; i++)); do
    for p in "${!programs[@]}"; do
        line=$(measure "${programs[$p]}")
        [[ $line =~ ^[0-9.]+\ [0-9]+$ ]] || { echo "run of ${names[$p]} failed: $line" >&2; exit 1; }
        echo "$line" >>"$work/$p"
    done
done
"$wine_run" --root "$root" --stop

median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
# The ratios: to the same-manifest dialog (the goals: time <= 1.5, memory <= 1.4) and to the plain one.
fair=$((${#programs[@]} - 2))
plain=$((${#programs[@]} - 1))
fm=$(cut -d' ' -f1 "$work/$fair" | median)
fk=$(cut -d' ' -f2 "$work/$fair" | median)
pm=$(cut -d' ' -f1 "$work/$plain" | median)
pk=$(cut -d' ' -f2 "$work/$plain" | median)
printf 'runs: %d each, in turn, medians; load average before: %s\n' "$runs" "$load"
printf '%-16s %14s %18s %20s %20s\n' program "first question" "peak working set" "x same manifest" "x minimal dialog"
printf '%-16s %14s %18s %10s %9s %10s %9s\n' "" "" "" time memory time memory
for p in "${!programs[@]}"; do
    ms=$(cut -d' ' -f1 "$work/$p" | median)
    kib=$(cut -d' ' -f2 "$work/$p" | median)
    awk -v n="${names[$p]}" -v a="$ms" -v c="$kib" -v fm="$fm" -v fk="$fk" -v pm="$pm" -v pk="$pk" \
        'BEGIN {printf "%-16s %11.1f ms %14d KiB %10.2f %9.2f %10.2f %9.2f\n", n, a, c, a / fm, c / fk, a / pm, c / pk}'
done
