#!/usr/bin/env bash
# Start-up time (process start to the first question painted) and peak resident memory of the
# Qt program, against a minimal Qt 6 dialog built the same way, in the same run, on the offscreen
# platform and under Xvfb.
# Usage: bench/qt/startup_bench.sh [build folder, default build/linux]
#   RUNS=30       runs of each program on each platform
#   BASELINE=dir  the build folder of another version, measured in the same run (before/after)
#   LISTS=10      that many word lists of 30 rows wait in the lists folder (none by default)
# The programs run in turn, one run of each per round, so that a change of load on the machine
# falls on all of them alike; the figures are medians.
set -euo pipefail

build=${1:-build/linux}
runs=${RUNS:-30}
programs=(zembra "$build/bench/qt/zembra_first_question_probe" minimal "$build/bench/qt/zembra_minimal_dialog_probe")
[ -n "${BASELINE:-}" ] && programs+=(baseline "$BASELINE/bench/qt/zembra_first_question_probe")
for ((i = 1; i < ${#programs[@]}; i += 2)); do
  [ -x "${programs[i]}" ] || { echo "missing ${programs[i]}: build the linux preset first" >&2; exit 1; }
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
if [ "${LISTS:-0}" -gt 0 ]; then
  mkdir -p -m 0700 "$XDG_DATA_HOME/zembra/lists"
  for ((list = 1; list <= LISTS; list++)); do
    for ((row = 1; row <= 30; row++)); do printf 'word%d\t词%d\n' "$row" "$row"; done >"$XDG_DATA_HOME/zembra/lists/Unit $list.txt"
  done
fi

# Wall time from the spawn to the end of the process; CPU time (user + system, which other load
# on the machine disturbs far less), peak resident memory and page faults (much of the system
# time) from the kernel's accounting of the same run.
measure() {
  python3 - "$1" "$runs" "${programs[@]}" <<'PY'
import os, statistics, sys, time
label, runs, pairs = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
names, paths = pairs[0::2], pairs[1::2]
null = os.open(os.devnull, os.O_WRONLY)
actions = [(os.POSIX_SPAWN_DUP2, null, 1), (os.POSIX_SPAWN_DUP2, null, 2)]

def run(path):
    start = time.perf_counter()
    pid = os.posix_spawn(path, [path], os.environ, file_actions=actions)
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{path} failed: {status}")
    return wall * 1000, (usage.ru_utime + usage.ru_stime) * 1000, usage.ru_maxrss / 1024, usage.ru_minflt

samples = {name: [] for name in names}
for round in range(3 + runs):  # three rounds to warm the caches first
    # Each round starts with another program, so that none always runs first.
    order = list(range(len(names)))
    order = order[round % len(order):] + order[:round % len(order)]
    for i in order:
        result = run(paths[i])
        if round >= 3:
            samples[names[i]].append(result)

median = {name: [statistics.median(s[k] for s in samples[name]) for k in range(4)] for name in names}
for i, name in enumerate(names):
    wall, cpu, rss, faults = median[name]
    print(f"{label if i == 0 else '':9} {name:8} wall {wall:6.1f} ms   CPU {cpu:6.1f} ms   peak RSS {rss:5.1f} MB"
          f"   page faults {faults:5.0f}")
m_wall, m_cpu, m_rss, _ = median["minimal"]
for name in (n for n in names if n != "minimal"):
    wall, cpu, rss, _ = median[name]
    print(f"{'':9} {name} vs minimal: wall ratio {wall / m_wall:.2f} (goal <= 1.10), CPU ratio {cpu / m_cpu:.2f}, "
          f"peak RSS +{rss - m_rss:.1f} MB (goal <= +6)")
PY
}

QT_QPA_PLATFORM=offscreen measure offscreen

# Xvfb picks a free display itself and names it.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 10 -u "$display_fd" display_number || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$display_number QT_QPA_PLATFORM=xcb measure xvfb
