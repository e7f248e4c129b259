#!/usr/bin/env python3
"""Crash safety of the progress file: starts a program that saves the file in a loop, kills it with
SIGKILL at a random moment, and checks that the file is byte for byte one of the two complete
contents the program alternates between. Repeated a few hundred times. Then one save that is let
finish must clear away the temporary files that the killed saves left.

Usage: crash_during_save.py PATH-OF-zembra_save_loop
Set ZEMBRA_CRASH_SEED to repeat a run (the seed of every run is printed) and ZEMBRA_CRASH_KILLS
for another number of kills (the time limit grows with it)."""

import os
import random
import signal
import subprocess
import sys
import tempfile
import time

ROWS = 1754
KILLS = int(os.environ.get("ZEMBRA_CRASH_KILLS", 300))
SAVING_TIME = 0.020  # seconds of saving after the first save, at most, before a kill
TIME_LIMIT = 50 * KILLS / 300  # seconds for the kills, all together
FILE_NAME = "ZbXxYy.zb"


def content(counter, marks):
    return (str(counter) + "\r\n" + "".join(mark + "\r\n" for mark in marks)).encode("ascii")


# What tests/support/save_loop_main.cpp writes, worked out independently.
FIRST = content(1, [""] * ROWS)
SECOND = content(-5, ["1" if row % 2 == 0 else "" for row in range(ROWS)])


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def time_to_first_save(program, path):
    """Seconds from the start of the program until its first save shows, so that the kills also
    fall among the saves in a slower build (sanitizers, a busy machine)."""
    with open(path, "wb") as f:
        f.write(FIRST)
    started = time.monotonic()
    process = subprocess.Popen([program, path], stdout=subprocess.DEVNULL)
    try:
        while True:
            with open(path, "rb") as f:
                if f.read() == SECOND:
                    return time.monotonic() - started
            if process.poll() is not None:
                fail(f"the saving program ended by itself with code {process.returncode}")
            if time.monotonic() - started > 10:
                fail("no save within 10 s")
            time.sleep(0.0005)
    finally:
        process.kill()
        process.wait()


def main():
    if len(sys.argv) != 2:
        fail(__doc__)
    program = sys.argv[1]
    seed = int(os.environ.get("ZEMBRA_CRASH_SEED", time.time_ns() % 2**32))
    print(f"seed {seed}")
    rng = random.Random(seed)
    assert len(FIRST) == 3511

    with tempfile.TemporaryDirectory(prefix="zembra-crash-") as folder:
        path = os.path.join(folder, FILE_NAME)
        longest_delay = max(time_to_first_save(program, path) for _ in range(3)) + SAVING_TIME
        for name in os.listdir(folder):
            os.remove(os.path.join(folder, name))
        with open(path, "wb") as f:
            f.write(FIRST)
        seen = {FIRST: 0, SECOND: 0}
        interrupted = 0  # kills after which a temporary file of a save was there
        most_left = 0
        started = time.monotonic()
        for kill in range(1, KILLS + 1):
            if time.monotonic() - started > TIME_LIMIT:
                fail(f"took longer than {TIME_LIMIT} s after {kill - 1} kills")
            process = subprocess.Popen([program, path], stdout=subprocess.DEVNULL)
            time.sleep(rng.uniform(0, longest_delay))
            process.send_signal(signal.SIGKILL)
            process.wait()
            if process.returncode != -signal.SIGKILL:
                fail(f"the saving program ended by itself with code {process.returncode}")
            try:
                with open(path, "rb") as f:
                    data = f.read()
            except FileNotFoundError:
                fail(f"after kill {kill}: the file is gone")
            if data not in seen:
                fail(f"after kill {kill}: the file ({len(data)} bytes) is neither complete content")
            seen[data] += 1
            left = len(os.listdir(folder)) - 1
            interrupted += left > 0
            most_left = max(most_left, left)

        # Killed before its first save finished every time, the program would prove nothing.
        if seen[SECOND] == 0:
            fail("no save finished before a kill")
        # And some kills must have come in the middle of a save, leaving its temporary file.
        if interrupted == 0:
            fail("no kill interrupted a save")
        strays = [name for name in os.listdir(folder) if name != FILE_NAME and not name.endswith(".tmp")]
        if strays:
            fail(f"unexpected files beside the progress file: {strays}")

        # Two saves that finish (the second content, then the first) clear the leftovers away.
        finished = subprocess.run([program, path, "2"], stdout=subprocess.DEVNULL, timeout=60)
        if finished.returncode != 0:
            fail(f"the saves after the kills failed with code {finished.returncode}")
        remaining = sorted(os.listdir(folder))
        if remaining != [FILE_NAME]:
            fail(f"{len(remaining) - 1} files left beside the progress file after a finished save: {remaining[:5]}")
        with open(path, "rb") as f:
            if f.read() != FIRST:
                fail("the finished saves did not leave the first content")
        print(f"{KILLS} kills, 0 to {longest_delay * 1000:.0f} ms after the start, in "
              f"{time.monotonic() - started:.1f} s: first content {seen[FIRST]} times, "
              f"second {seen[SECOND]} times; {interrupted} kills left a temporary file, at most "
              f"{most_left} at once; none left after the next finished save")


if __name__ == "__main__":
    main()
