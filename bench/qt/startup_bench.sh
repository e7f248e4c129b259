#!/usr/bin/env bash
# Start-up time (process start to the first question painted) and peak resident memory of the
# Qt program, against a minimal Qt 6 dialog built the same way, in the same run, on the offscreen
# platform and under Xvfb.
# Figures read "Zembra vs minimal dialog".
# Usage: bench/qt/startup_bench.sh [build folder, default build/linux]   (RUNS=30 by default)
set -euo pipefail

build=${1:-build/linux}
runs=${RUNS:-30}
zembra=$build/bench/qt/zembra_first_question_probe
minimal=$build/bench/qt/zembra_minimal_dialog_probe
for program in "$zembra" "$minimal"; do
  [ -x "$program" ] || { echo "missing $program: build the linux preset first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A progress file of the benchmark's own, as a pupil's would look after a few runs.
export XDG_DATA_HOME=$work/data
mkdir -p -m 0700 "$XDG_DATA_HOME/zembra"
python3 - "$XDG_DATA_HOME/zembra/ZbXxYy.zb" <<'PY'
import sys
rows = ["1" if i % 3 == 0 else "" for i in range(1754)]
open(sys.argv[1], "wb").write(("3\r\n" + "".join(r + "\r\n" for r in rows)).encode())
PY

# Wall time with hyperfine; CPU time (user + system, which other load on the machine disturbs
# far less) and peak resident memory from the kernel's accounting of each run.
measure() {
  local label=$1
  hyperfine --shell=none --warmup 3 --runs "$runs" --style none \
    --export-json "$work/$label.json" -n zembra "$zembra" -n minimal "$minimal" >/dev/null
  python3 - "$label" "$work/$label.json" "$runs" "$zembra" "$minimal" <<'PY'
import json, os, statistics, subprocess, sys
label, path, runs, programs = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:]

def accounting(program):
    cpu, rss = [], []
    for _ in range(runs):
        child = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        if status != 0:
            sys.exit(f"{program} failed: {status}")
        cpu.append(usage.ru_utime + usage.ru_stime)
        rss.append(usage.ru_maxrss / 1024)
    return statistics.median(cpu) * 1000, statistics.median(rss)

results = {r["command"]: r for r in json.load(open(path))["results"]}
wall_z, wall_m = results["zembra"]["median"] * 1000, results["minimal"]["median"] * 1000
(cpu_z, rss_z), (cpu_m, rss_m) = accounting(programs[0]), accounting(programs[1])
print(f"{label:9} wall median {wall_z:6.1f} ms vs {wall_m:6.1f} ms  ratio {wall_z / wall_m:.2f}   (target <= 1.30)")
print(f"{'':9} CPU median  {cpu_z:6.1f} ms vs {cpu_m:6.1f} ms  ratio {cpu_z / cpu_m:.2f}")
print(f"{'':9} peak RSS    {rss_z:6.1f} MB vs {rss_m:6.1f} MB  +{rss_z - rss_m:.1f} MB (target <= +15)")
PY
}

QT_QPA_PLATFORM=offscreen measure offscreen

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
DISPLAY=$display QT_QPA_PLATFORM=xcb measure xvfb
