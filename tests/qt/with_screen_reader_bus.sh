#!/bin/bash
# Runs a Qt program as a screen reader's user runs it: on an X display (a virtual one) with a
# session bus and the accessibility bus, so that Qt's accessibility is active and every change a
# screen reader would hear is reported.
#
#   tests/qt/with_screen_reader_bus.sh PROGRAM [ARGUMENT...]
#
# Exits with the program's status, or 77 (skipped) where dbus-run-session, xvfb-run or the
# accessibility bus launcher (at-spi2-core) is missing.
set -euo pipefail
launcher=/usr/libexec/at-spi-bus-launcher

if [ "${1:-}" != --inside ]; then
    for tool in dbus-run-session dbus-send xvfb-run "$launcher"; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
    done
    exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside "$@"
fi
shift

"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=$!
trap 'kill "$bus" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && break
    sleep 0.05
done
# As if a screen reader were running, whether or not the desktop says one is.
status=0
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$@" || status=$?
exit $status
