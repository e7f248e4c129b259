#!/usr/bin/env python3
"""One copy per progress file, with real processes on a private X display (Xvfb, no window
manager): a second start on the file of a running copy ends at once with status 0 and one line,
opens no window and does not touch the file, and gives the running copy's window the focus; the
file is then written once, by the running copy's close. A copy on another file runs beside it. A
copy killed with SIGKILL leaves its lock file behind, and the next start runs all the same.

Everything runs twice: without a session bus (a bare X session: the lock file and a signal) and
with a private one (the application id's name and org.freedesktop.Application.Activate).

Then one table of what may stand at the progress file's place (a FIFO, a link to one, /dev/zero,
a lock path that is a folder or a file of root's, a data folder others may write, a full file
system): each start shows its window (or first a clear message) within seconds, and no mark of
either copy is lost.

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


def progress(counter, marks=()):
    """The file the program writes: the counter, then a mark line per row ("1" for the given rows)."""
    return (str(counter) + "\r\n" + "".join("1\r\n" if row in marks else "\r\n" for row in range(ROWS))).encode()


def marks_of(path):
    """The mastered rows of a file: their marks are not empty and hold no "0" (a bare "1" or a
    review schedule)."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    return {row for row, mark in enumerate(lines[1:1 + ROWS]) if mark and b"0" not in mark}


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


NOBODY = 65534
START_UP = 10.0  # seconds within which a start shows its first window


class Layouts:
    """Real starts on one data folder, under the same display, without a session bus."""

    def __init__(self, program, display, data):
        self.program, self.display, self.data, self.running = program, display, data, []
        self.target = os.path.join(data, "zembra", FILE_NAME)
        os.makedirs(os.path.dirname(self.target), mode=0o700)
        runtime = os.path.join(data, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env = {k: v for k, v in os.environ.items() if k not in ("DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM")}
        self.env.update(DISPLAY=display.name, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8",
                        XDG_DATA_HOME=data)

    def write(self, counter, marks, user=None):
        with open(self.target + ".new", "wb") as f:
            f.write(progress(counter, marks))
        if user:
            os.chown(self.target + ".new", user, user)
        os.rename(self.target + ".new", self.target)  # as a save puts it in place

    def start(self, label, user=None):
        """The process and its first window (the dialog, or a message before it), and how long it took."""
        started = time.monotonic()
        process = subprocess.Popen([self.program], env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                   user=user, group=user, extra_groups=[] if user else None)
        self.running.append(process)
        window = self.window(process, ".", label)
        return process, window, time.monotonic() - started

    def window(self, process, name, label):
        return wait_for(lambda: self.display.xdotool("search", "--all", "--onlyvisible", "--pid", str(process.pid),
                                                     "--name", name), START_UP, f"{label}: no window '{name}'")[0]

    def answer(self, process, key, label):
        """The close box's question after a failed save: alt+y tries again, alt+n gives up."""
        self.display.xdotool("windowfocus", self.window(process, "保存失败", label))
        time.sleep(0.3)
        self.display.xdotool("key", key)

    def close(self, process, window, label, key=None):
        """The close box, and what the process wrote on standard output."""
        self.display.close(window)
        if key:
            self.answer(process, key, label)
        try:
            process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail(f"{label}: still running after the close box")
        return process.stdout.read().decode("utf-8", "replace")

    def end(self):
        for process in self.running:
            if process.poll() is None:
                process.kill()
            process.wait()


def not_a_file(make):
    """Not a file at the path: the run starts as on a new one, and the close leaves it as it was."""

    def layout(runs, label):
        make(runs.target)
        kind, link = os.stat(runs.target).st_mode >> 12, os.path.islink(runs.target)
        process, window, seconds = runs.start(label)
        output = runs.close(process, window, label, "alt+n")
        if (os.stat(runs.target).st_mode >> 12, os.path.islink(runs.target)) != (kind, link):
            fail(f"{label}: what stood at the path was replaced")
        if "不是普通文件" not in output:
            fail(f"{label}: no diagnostic line, only {output!r}")
        return seconds

    return layout


def fifo_behind_link(target):
    os.mkfifo(target + ".fifo")
    os.symlink(FILE_NAME + ".fifo", target)


def two_copies(make_lock, user=None):
    """A lock that cannot be taken: two copies run, and the later save keeps what the other saved."""

    def layout(runs, label):
        runs.write(7, {0}, user)
        if user:
            for path in (runs.data, os.path.dirname(runs.target)):
                os.chown(path, user, user)
        make_lock(runs.target + ".lock")
        first, first_window, seconds = runs.start(label, user)
        second, second_window, _ = runs.start(label, user)
        runs.close(first, first_window, label)
        if counter_of(runs.target) != 8:
            fail(f"{label}: the first close saved counter {counter_of(runs.target)}")
        runs.write(8, {0, 5}, user)  # what the first copy's answers would have saved
        output = runs.close(second, second_window, label)
        if (marks_of(runs.target), counter_of(runs.target)) != ({0, 5}, 9) or "加锁" not in output:
            fail(f"{label}: marks {sorted(marks_of(runs.target))}, counter {counter_of(runs.target)}, {output!r}")
        return seconds

    return layout


def lock_of_root(lock):
    with open(lock, "wb"):
        pass
    os.chmod(lock, 0o600)


def open_folder(runs, label):
    """A data folder that others may write: a message for the parent, then a run that saves nothing."""
    runs.write(7, {3})
    os.chmod(os.path.dirname(runs.target), 0o777)
    process, _, seconds = runs.start(label)
    runs.display.close(runs.window(process, "进度不会保存", label))
    output = runs.close(process, runs.window(process, "^Zembra", label), label)
    if (marks_of(runs.target), counter_of(runs.target)) != ({3}, 7) or "不安全" not in output:
        fail(f"{label}: the file was saved over or nothing was said: {output!r}")
    return seconds


def full_file_system(runs, label):
    """A full disk at the close: the window says so; once there is room, 是 saves every mark."""
    folder = os.path.dirname(runs.target)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k,mode=0700", "tmpfs", folder],
                      stderr=subprocess.DEVNULL).returncode != 0:
        print(f"{label}: skipped, no tmpfs can be mounted here")
        return 0.0
    try:
        runs.write(7, {2, 9})
        filler = os.open(os.path.join(folder, "filler"), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(filler, b"x" * 4096):
                pass
        except OSError:
            pass
        os.close(filler)
        process, window, seconds = runs.start(label)
        runs.display.close(window)
        runs.window(process, "保存失败", label)
        os.remove(os.path.join(folder, "filler"))
        runs.close(process, window, label, "alt+y")  # room again: try again
        if (marks_of(runs.target), counter_of(runs.target)) != ({2, 9}, 8):
            fail(f"{label}: after the retry marks {sorted(marks_of(runs.target))}, counter {counter_of(runs.target)}")
        return seconds
    finally:
        subprocess.run(["umount", "-l", folder])


LAYOUTS = [
    ("FIFO", not_a_file(os.mkfifo)),
    ("symlink to a FIFO", not_a_file(fifo_behind_link)),
    ("symlink to /dev/zero", not_a_file(lambda target: os.symlink("/dev/zero", target))),
    ("lock path a folder", two_copies(os.mkdir)),
    ("lock file of root's", two_copies(lock_of_root, NOBODY)),
    ("folder writable by others", open_folder),
    ("full file system", full_file_system),
]


def run_layouts(program, display, folder):
    os.makedirs(folder)
    for reachable in (os.path.dirname(folder), folder):  # by the copies started as another user
        os.chmod(reachable, 0o755)
    for index, (label, layout) in enumerate(LAYOUTS):
        if label == "lock file of root's" and os.geteuid() != 0:
            print(f"{label}: skipped, needs root to start a copy as another user")
            continue
        runs = Layouts(program, display, os.path.join(folder, str(index)))
        try:
            seconds = layout(runs, label)
        finally:
            runs.end()
        print(f"{label}: first window in {seconds:.1f} s, no mark lost")


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
            run_layouts(program, display, os.path.join(folder, "layouts"))
    finally:
        if bus_daemon:
            bus_daemon.kill()
            bus_daemon.wait()
        display.stop()


if __name__ == "__main__":
    main()
