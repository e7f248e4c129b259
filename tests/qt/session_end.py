#!/usr/bin/env python3
"""The end of a session, with the real program on a private X display (Xvfb, no window manager):
after three answers (right, right, wrong) and the next row asked, SIGTERM (twice at once, as a shutdown that insists),
SIGHUP or SIGINT ends the program with status 0 and leaves the file saved once, with those marks
and the counter one higher; SIGKILL, which nothing can catch, leaves the old file whole.

Usage: session_end.py PATH-OF-zembra
Exits 77 (skipped) when Xvfb or xdotool is missing."""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

from second_start import FILE_NAME, ROWS, Display, FileWatch, fail, wait_for

UNMASTERED = (0, 1, 3, 4, 6, 7)  # pen, pencil, ruler, eraser, schoolbag, crayon: typed as they are
SELECTION = re.compile(r"^(\d+):(.*?)\u2192")


SCHEDULE = re.compile(rb"^[a-z][1-9]{1,7}$")


def shape(saved):
    """A file's counter and marks, each mastered mark ("1" or a review schedule) as "1"."""
    return [b"1" if mark and b"0" not in mark else mark for mark in saved.split(b"\r\n")[1:]], saved.split(b"\r\n")[0]


def progress(counter, marks):
    return (str(counter) + "\r\n" + "".join(marks.get(row, "1") + "\r\n" for row in range(ROWS))).encode("ascii")


class Program:
    """The program on a data folder of its own, its diagnostic lines read as they come."""

    def __init__(self, path, display, folder):
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = {k: v for k, v in os.environ.items() if k not in ("DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM")}
        env.update(DISPLAY=display.name, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb",
                   XDG_DATA_HOME=os.path.join(folder, "home"))
        self.display = display
        self.process = subprocess.Popen([path], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.lines = []
        threading.Thread(target=self._read, daemon=True).start()
        window = wait_for(lambda: display.windows_of(self.process.pid), 20, "no window")[0]
        wait_for(lambda: display.focus_pid() == self.process.pid, 10, "the window has no focus")
        self.window = window

    def _read(self):
        for line in self.process.stdout:
            self.lines.append(line.decode("utf-8", "replace"))

    def asked(self):
        return [SELECTION.match(line) for line in self.lines if SELECTION.match(line)]

    def keys(self, *args):
        self.display.xdotool(*args)

    def answer(self, right):
        """Asks the next row (Enter on 下一题, or after the last answer), answers it and submits it."""
        count = len(self.asked())
        self.keys("key", "Return")
        asked = wait_for(lambda: self.asked()[count:], 10, "no next row")[-1]
        row, answer = int(asked.group(1)), asked.group(2)
        marks = sum("The new Rst is" in line for line in self.lines)
        self.keys("type", "--delay", "20", answer if right else "zzz")
        self.keys("key", "Return")
        if right:
            wait_for(lambda: sum("The new Rst is" in line for line in self.lines) > marks, 10, "no mark")
        return row


def run(program, display, folder, label, signals):
    target = os.path.join(folder, "home", "zembra", FILE_NAME)
    os.makedirs(os.path.dirname(target))
    before = progress(7, {row: "" for row in UNMASTERED})
    with open(target, "wb") as f:
        f.write(before)
    copy = Program(program, display, folder)
    watch = FileWatch(os.path.dirname(target))
    answered = {}
    for right in (True, True, False):
        answered[copy.answer(right)] = "1" if right else "0"
    # The next row asked: the miss has been taken.
    count = len(copy.asked())
    copy.keys("key", "Return")
    wait_for(lambda: len(copy.asked()) > count, 10, "no row after the miss")
    if signals == [signal.SIGKILL]:
        copy.process.send_signal(signal.SIGKILL)
        copy.process.wait(timeout=20)
        expected, saves = before, 0
    else:
        for sent in signals:
            copy.process.send_signal(sent)
        try:
            status = copy.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail(f"{label}: the program still runs")
        if status != 0:
            fail(f"{label}: the program ended with status {status}")
        marks = {row: "" for row in UNMASTERED}
        marks.update(answered)
        expected, saves = progress(8, marks), 1
    with open(target, "rb") as f:
        saved = f.read()
    replaced = [event for event in watch.events() if event == (FILE_NAME, "moved in")]
    # Every mastered row comes out of a save with its review schedule.
    same = saved == expected if saves == 0 else (
        shape(saved) == shape(expected) and
        all(SCHEDULE.match(mark) for mark in saved.split(b"\r\n")[1:] if mark and b"0" not in mark))
    if not same or len(replaced) != saves:
        fail(f"{label}: the file was put in place {len(replaced)} times, and holds "
             f"{saved[:40]!r}... ({len(saved)} bytes) instead of {expected[:40]!r}... ({len(expected)} bytes)")
    counter = saved.split(b"\r\n")[0].decode()
    print(f"{label}: {len(replaced)} save(s), marks {answered}, counter {counter}")


def main():
    if len(sys.argv) != 2:
        fail(__doc__)
    missing = [tool for tool in ("Xvfb", "xdotool") if not shutil.which(tool)]
    if missing:
        print("SKIPPED: missing " + ", ".join(missing))
        sys.exit(77)
    display = Display()
    try:
        with tempfile.TemporaryDirectory(prefix="zembra-session-end-") as folder:
            for label, signals in (("SIGTERM twice", [signal.SIGTERM, signal.SIGTERM]),
                                   ("SIGHUP", [signal.SIGHUP]), ("SIGINT", [signal.SIGINT]),
                                   ("SIGKILL", [signal.SIGKILL])):
                run(sys.argv[1], display, os.path.join(folder, label.replace(" ", "-")), label, signals)
    finally:
        display.stop()


if __name__ == "__main__":
    main()
