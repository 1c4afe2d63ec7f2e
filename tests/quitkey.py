#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
# SPDX-License-Identifier: GPL-3.0-or-later
"""Ctrl with the physical key marked Q closes orseta under the keyboard
layouts Bulgarian learners use, as under a US one.

    quitkey.py PROGRAM

Run it inside `session.sh --wm`. For each layout the X server is given the
layout (setxkbmap) and its group is locked; the key beside Tab must then
produce the layout's own symbol, so the check cannot pass on a layout that
did not take. The program is started, and once its window has the focus,
Ctrl and that key (X key code 24) are pressed through XTest, as a keyboard
would press them: the program must end by itself, with status 0.

Exit status: 0 pass, 1 fail, 77 skip (a tool is missing).
"""

import ctypes
import ctypes.util
import shutil
import subprocess
import sys
import time

SKIP = 77
WINDOW_TITLE = "Тесморил"
Q_KEY = 24          # the key beside Tab on the letters' top row
CONTROL_KEY = 37    # the left Ctrl
XKB_USE_CORE_KBD = 0x100

# name, setxkbmap arguments, group locked, keysym on the Q key in that group
LAYOUTS = [
    ("us", ["-layout", "us"], 0, 0x71),                          # q
    ("bg (BDS)", ["-layout", "bg"], 0, 0x2C),                    # comma
    ("bg phonetic", ["-layout", "bg", "-variant", "phonetic"], 0, 0x6D1),  # Cyrillic_ya
    ("bg,us with bg active", ["-layout", "bg,us"], 0, 0x2C),
    ("us,bg with bg active", ["-layout", "us,bg"], 1, 0x2C),
    ("ru", ["-layout", "ru"], 0, 0x6CA),                         # Cyrillic_shorti
]


class Failure(Exception):
    pass


def library(name):
    path = ctypes.util.find_library(name)
    if path is None:
        print(f"SKIP: lib{name} is not installed (Debian: lib{name.lower()}6)")
        sys.exit(SKIP)
    return ctypes.CDLL(path)


class XServer:
    def __init__(self):
        self.x11 = library("X11")
        self.xtst = library("Xtst")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XkbLockGroup.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XkbKeycodeToKeysym.restype = ctypes.c_ulong
        self.x11.XkbKeycodeToKeysym.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                                ctypes.c_int]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise Failure("no X display: run it through session.sh --wm")

    def lock_group(self, group):
        self.x11.XkbLockGroup(self.display, XKB_USE_CORE_KBD, group)
        self.x11.XSync(self.display, 0)

    def keysym(self, keycode, group):
        return self.x11.XkbKeycodeToKeysym(self.display, keycode, group, 0)

    def key(self, keycode, pressed):
        self.xtst.XTestFakeKeyEvent(self.display, keycode, 1 if pressed else 0, 0)
        self.x11.XSync(self.display, 0)


def wait_until(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() >= deadline:
            raise Failure(f"{what} after {seconds} s")
        time.sleep(0.02)


def active_window():
    result = subprocess.run(["xdotool", "getactivewindow"], capture_output=True, text=True)
    return result.stdout.strip()


def check(server, program, name, arguments, group, keysym):
    subprocess.run(["setxkbmap", *arguments], check=True, timeout=10)
    server.lock_group(group)
    produced = server.keysym(Q_KEY, group)
    if produced != keysym:
        raise Failure(f"{name}: the Q key gives {produced:#x}, not {keysym:#x}")

    process = subprocess.Popen([program])
    try:
        window = subprocess.run(
            ["xdotool", "search", "--sync", "--onlyvisible", "--name", WINDOW_TITLE],
            capture_output=True, text=True, timeout=30).stdout.split()[0]
        wait_until(lambda: active_window() == window, 10, f"{name}: the window has no focus")
        server.key(CONTROL_KEY, True)
        server.key(Q_KEY, True)
        server.key(Q_KEY, False)
        server.key(CONTROL_KEY, False)
        try:
            status = process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure(f"{name}: Ctrl with the Q key did not close the program")
        if status != 0:
            raise Failure(f"{name}: the program ended with status {status}")
        print(f"PASS: {name}")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def main():
    program = sys.argv[1]
    for tool, package in (("setxkbmap", "x11-xkb-utils"), ("xdotool", "xdotool")):
        if shutil.which(tool) is None:
            print(f"SKIP: {tool} is not installed (Debian: {package})")
            return SKIP
    server = XServer()
    failures = 0
    for name, arguments, group, keysym in LAYOUTS:
        try:
            check(server, program, name, arguments, group, keysym)
        except (Failure, subprocess.SubprocessError, IndexError) as failure:
            print(f"FAIL: {failure}")
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
