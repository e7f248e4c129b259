#!/bin/bash
# Runs a program with a sound system and a speech service of its own: a PulseAudio server whose
# only sink is a null sink named zembra_test (16 kHz, mono; its monitor can be recorded with
# parec), and a speech-dispatcher with the espeak-ng voices playing into it. Nothing reaches or
# uses the machine's own sound or speech service.
#
#   tests/qt/with_audio_stack.sh PROGRAM [ARGUMENT...]
#
# Exits with the program's status, or 77 (skipped, saying what is missing) where a part of the
# stack is not installed or will not start.
set -euo pipefail

for tool in pulseaudio pactl parec speech-dispatcher; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
[ -x /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] ||
    { echo "skipped: the espeak-ng module of speech-dispatcher (speech-dispatcher-espeak-ng) is missing"; exit 77; }

root=$(mktemp -d)
export XDG_RUNTIME_DIR=$root/run HOME=$root/home XDG_CONFIG_HOME=$root/home/.config PULSE_RUNTIME_PATH=$root/run/pulse
export PULSE_SERVER=unix:$PULSE_RUNTIME_PATH/native
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$root"
}
trap cleanup EXIT

# PulseAudio refuses a root user's per-user server only with a warning; clients need no cookie.
pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$PULSE_RUNTIME_PATH/native" \
    --load="module-null-sink sink_name=zembra_test rate=16000 channels=1" \
    >"$root/pulseaudio.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null 2>&1 || { echo "skipped: PulseAudio did not start:"; cat "$root/pulseaudio.log"; exit 77; }
pactl set-default-sink zembra_test

# speech-dispatcher on its socket in XDG_RUNTIME_DIR, where Qt's engine looks, with espeak-ng.
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<CONF
AudioOutputMethod "pulse"
DefaultModule espeak-ng
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultLanguage "en"
LogLevel 2
LogDir "$root"
CONF
speech-dispatcher -s -t 0 -C "$XDG_CONFIG_HOME/speech-dispatcher" >"$root/speech-dispatcher.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] && break; sleep 0.05; done
[ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] ||
    { echo "skipped: speech-dispatcher did not start:"; cat "$root/speech-dispatcher.log"; exit 77; }

status=0
"$@" || status=$?
[ $status -eq 0 ] || { echo "--- speech-dispatcher log"; tail -20 "$root/speech-dispatcher.log"; }
exit $status
