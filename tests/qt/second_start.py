#!/usr/bin/env python3
"""One copy per progress file, with real processes on a private X display (Xvfb, no window
manager): a second start on the file of a running copy ends at once with status 0 and one line,
opens no window and does not touch the file, and gives the running copy's window the focus; the
file is then written once, by the running copy's close. A copy on another file runs beside it. A
copy killed with SIGKILL leaves its lock file behind, and the next start runs all the same.

Everything runs twice: without a session bus (a bare X session: the lock file and a signal) and
with a private one (the application id's name and org.freedesktop.Application.Activate).

Usage: second_start.py PATH-OF-zembra APP-ID
Exits 77 (skipped) when Xvfb, xdotool, dbus-daemon, dbus-send or gdbus is missing."""

import ctypes
import ctypes.util
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

ROWS = 1754
FILE_NAME = "ZbXxYy.zb"
PROMPT_EXIT = 5.0  # seconds within which a second start must have ended


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def progress(counter):
    return (str(counter) + "\r\n" + "\r\n" * ROWS).encode("ascii")


class FileWatch:
    """inotify on a folder: what happened to the files in it since the last look."""

    IN_ACCESS, IN_MODIFY, IN_CLOSE_WRITE, IN_OPEN, IN_MOVED_TO, IN_CREATE = 0x1, 0x2, 0x8, 0x20, 0x80, 0x100
    NAMES = {IN_ACCESS: "read", IN_MODIFY: "written", IN_CLOSE_WRITE: "closed after writing", IN_OPEN: "opened",
             IN_MOVED_TO: "moved in", IN_CREATE: "created"}

    def __init__(self, folder):
        libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
        self.fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        mask = 0
        for bit in self.NAMES:
            mask |= bit
        if self.fd < 0 or libc.inotify_add_watch(self.fd, folder.encode(), mask) < 0:
            fail("inotify is not available")

    def events(self):
        found = []
        while True:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                return found
            offset = 0
            while offset < len(data):
                _, mask, _, length = struct.unpack_from("iIII", data, offset)
                name = data[offset + 16:offset + 16 + length].rstrip(b"\0").decode()
                offset += 16 + length
                found += [(name, what) for bit, what in self.NAMES.items() if mask & bit]


class Display:
    """A private Xvfb, and what the test asks of it through xdotool and Xlib."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                                        "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            self.name = ":" + f.readline().strip()
        if self.name == ":":
            fail("Xvfb did not start")
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XInternAtom.restype = ctypes.c_ulong
        self.x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.connection = self.x11.XOpenDisplay(self.name.encode())
        if not self.connection:
            fail("cannot open the display " + self.name)

    def stop(self):
        self.server.kill()
        self.server.wait()

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=self.name), capture_output=True,
                                text=True)
        return result.stdout.split() if result.returncode == 0 else []

    def windows_of(self, pid):
        return self.xdotool("search", "--all", "--onlyvisible", "--pid", str(pid), "--name", "^Zembra")

    def all_windows(self):
        return self.xdotool("search", "--onlyvisible", "--name", "^Zembra")

    def focus_pid(self):
        found = self.xdotool("getwindowfocus", "getwindowpid")
        return int(found[0]) if found else None

    def close(self, window):
        """What the close box does: WM_DELETE_WINDOW, which a window manager would send."""

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                        ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]

        protocols = self.x11.XInternAtom(self.connection, b"WM_PROTOCOLS", 0)
        delete = self.x11.XInternAtom(self.connection, b"WM_DELETE_WINDOW", 0)
        event = ClientMessage(type=33, send_event=1, display=self.connection, window=int(window),
                              message_type=protocols, format=32)
        event.data[0] = delete
        self.x11.XSendEvent(self.connection, int(window), 0, 0, ctypes.byref(event))
        self.x11.XFlush(self.connection)


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    fail(f"{what} within {seconds} s")


class Session:
    def __init__(self, program, app_id, display, folder, bus):
        self.program, self.app_id, self.display, self.bus = program, app_id, display, bus
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env = {k: v for k, v in os.environ.items() if k not in ("DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM")}
        self.env.update(DISPLAY=display.name, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
        if bus:
            self.env["DBUS_SESSION_BUS_ADDRESS"] = bus
        self.running = []

    def start(self, data_home):
        process = subprocess.Popen([self.program], env=dict(self.env, XDG_DATA_HOME=data_home),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.running.append(process)
        window = wait_for(lambda: self.display.windows_of(process.pid), 20, "no window of a first copy")
        return process, window[0]

    def second_start(self, data_home):
        started = time.monotonic()
        try:
            result = subprocess.run([self.program], env=dict(self.env, XDG_DATA_HOME=data_home),
                                    capture_output=True, timeout=4 * PROMPT_EXIT)
        except subprocess.TimeoutExpired:
            fail(f"a second start was still running after {4 * PROMPT_EXIT:.0f} s")
        return result, time.monotonic() - started

    def name_owner_pid(self):
        result = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                                 "org.freedesktop.DBus.GetConnectionUnixProcessID", "string:" + self.app_id],
                                env=self.env, capture_output=True, text=True)
        return int(result.stdout.split()[-1]) if result.returncode == 0 else None

    def activate_over_bus(self):
        path = "/" + self.app_id.replace(".", "/").replace("-", "_")
        # dbus-send cannot write the a{sv} argument.
        subprocess.run(["gdbus", "call", "--session", "--dest", self.app_id, "--object-path", path, "--method",
                        "org.freedesktop.Application.Activate", "@a{sv} {}"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def end(self):
        for process in self.running:
            if process.poll() is None:
                process.kill()
            process.wait()


def counter_of(path):
    with open(path, "rb") as f:
        return int(f.read().split(b"\r\n")[0])


def run(session, folder, label):
    home, other = os.path.join(folder, "home"), os.path.join(folder, "other")
    target = os.path.join(home, "zembra", FILE_NAME)
    os.makedirs(os.path.dirname(target))
    with open(target, "wb") as f:
        f.write(progress(7))

    first, first_window = session.start(home)
    # A copy on another progress file is no second copy: it runs, and takes the focus.
    beside, _ = session.start(other)
    wait_for(lambda: session.display.focus_pid() == beside.pid, 10, f"{label}: the copy on another file has no focus")
    if session.bus and session.name_owner_pid() != first.pid:
        fail(f"{label}: the application id's name does not belong to the first copy")

    watch = FileWatch(os.path.dirname(target))
    result, seconds = session.second_start(home)
    touched = [event for event in watch.events() if event[0] != FILE_NAME + ".lock"]
    if result.returncode != 0:
        fail(f"{label}: the second start ended with status {result.returncode}")
    if seconds > PROMPT_EXIT:
        fail(f"{label}: the second start took {seconds:.1f} s")
    lines = result.stdout.decode("utf-8", "replace").splitlines()
    if len(lines) != 1 or "Zembra" not in lines[0]:
        fail(f"{label}: the second start wrote {lines!r} instead of one line")
    if touched:
        fail(f"{label}: the second start touched the progress file: {touched}")
    wait_for(lambda: session.display.focus_pid() == first.pid, 10,
             f"{label}: the running copy's window did not get the focus")
    if session.display.windows_of(first.pid) != [first_window] or len(session.display.all_windows()) != 2:
        fail(f"{label}: windows after the second start: {session.display.all_windows()}, of the running copy "
                 f"{session.display.windows_of(first.pid)}")
    if first.poll() is not None:
        fail(f"{label}: the running copy ended")

    if session.bus:
        # The freedesktop call itself, as a launcher makes it. The copy on the other file is started
        # anew to take the focus, since the X server ignores a focus change dated before the last.
        beside.kill()
        beside.wait()
        beside, _ = session.start(other)
        wait_for(lambda: session.display.focus_pid() == beside.pid, 10, f"{label}: the other copy has no focus")
        session.activate_over_bus()
        wait_for(lambda: session.display.focus_pid() == first.pid, 10,
                 f"{label}: the running copy did not take the focus when activated over the bus")

    # The close box: the running copy saves, once.
    session.display.close(first_window)
    first.wait(timeout=20)
    replaced = [event for event in watch.events() if event == (FILE_NAME, "moved in")]
    if len(replaced) != 1 or counter_of(target) != 8:
        fail(f"{label}: after the close the file was put in place {len(replaced)} times, counter "
             f"{counter_of(target)}")

    # SIGKILL: the lock file stays behind, but its lock went with the process.
    killed, _ = session.start(home)
    killed.send_signal(signal.SIGKILL)
    killed.wait()
    if not os.path.exists(target + ".lock"):
        fail(f"{label}: no lock file beside the progress file")
    after, after_window = session.start(home)
    time.sleep(1)
    if after.poll() is not None:
        fail(f"{label}: the start after a killed copy ended with status {after.returncode}")
    session.display.close(after_window)
    after.wait(timeout=20)
    if counter_of(target) != 9:
        fail(f"{label}: the start after the killed copy saved counter {counter_of(target)}, not 9")
    session.end()
    print(f"{label}: second start ended in {seconds * 1000:.0f} ms with one line, the file untouched; "
          f"one save at the close; a start after SIGKILL ran")


def main():
    if len(sys.argv) != 3:
        fail(__doc__)
    program, app_id = sys.argv[1], sys.argv[2]
    missing = [tool for tool in ("Xvfb", "xdotool", "dbus-daemon", "dbus-send", "gdbus") if not shutil.which(tool)]
    if missing:
        print("SKIPPED: missing " + ", ".join(missing))
        sys.exit(77)
    display = Display()
    bus_daemon = None
    try:
        with tempfile.TemporaryDirectory(prefix="zembra-second-start-") as folder:
            session = Session(program, app_id, display, os.path.join(folder, "bare"), None)
            try:
                run(session, os.path.join(folder, "bare"), "without a session bus")
            finally:
                session.end()
            bus_daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            address = bus_daemon.stdout.readline().strip()
            if not address:
                fail("dbus-daemon did not start")
            session = Session(program, app_id, display, os.path.join(folder, "bus"), address)
            try:
                run(session, os.path.join(folder, "bus"), "with a session bus")
            finally:
                session.end()
    finally:
        if bus_daemon:
            bus_daemon.kill()
            bus_daemon.wait()
        display.stop()


if __name__ == "__main__":
    main()
