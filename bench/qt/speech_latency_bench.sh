#!/usr/bin/env bash
# The time from a submission to the first sample of the spoken answer on the sound system, in the
# Linux program's dialog (real widgets, offscreen) speaking through speech-dispatcher and
# espeak-ng into a PulseAudio null sink of the benchmark's own (tests/qt/with_audio_stack.sh).
# Prints each row's time and the median.
# With DICTATION=1, the time from a row shown in 听写 to the first sample of its word.
# Usage: bench/qt/speech_latency_bench.sh [build folder, default build/linux]
#   ROWS=20   submissions (or rows in 听写) measured
set -euo pipefail
build=${1:-build/linux}
probe=$build/tests/qt/zembra_speech_audio_test
[ -x "$probe" ] || { echo "missing $probe: build the linux preset first" >&2; exit 1; }
QT_QPA_PLATFORM=offscreen exec "$(dirname "$0")/../../tests/qt/with_audio_stack.sh" "$probe" "$([ "${DICTATION:-}" = 1 ] && echo --bench-dictation || echo --bench)" "${ROWS:-20}"
