#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# orseta.exe under Wine as a learner meets it: within 12 MB, it prints its
# version, starts with its window's client area 514 x 444 at 96 DPI, answers
# a right pairing made with real mouse clicks, and closes on Ctrl+Q and on
# Alt+F4. With the installer (ORSETA_INSTALLER): a silent install for the
# whole machine, the installed program starts, and the uninstaller leaves
# nothing behind.
# Runs on the X server and in the Wine prefix of scripts/windows --test.
# Where to click comes from the window's description, through orseta_geometry
# built for this machine.
#   winexe.sh ORSETA_EXE SCREENSHOT ORSETA_GEOMETRY
set -u
exe=$1
screenshot=$2
geometry=${3:-}
export WINEDEBUG=-all
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "PASS: $*"; }

for tool in wine xdotool xwininfo xclip import; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] ||
    { echo "SKIP: run by scripts/windows --test, which gives it an X server and a Wine prefix"; exit 77; }
[ -x "$geometry" ] ||
    { echo "FAIL: orseta_geometry, built for this machine, is not at '$geometry' (ORSETA_HOST_GEOMETRY)"; exit 1; }

# The one file to copy stays within its aim of 12 MB.
size=$(stat -c %s "$exe")
[ "$size" -le 12000000 ] && pass "orseta.exe is $size bytes" || fail "orseta.exe is $size bytes, more than 12,000,000"

version=$(wine "$exe" --version 2>/dev/null | tr -d '\r')
[ "$version" = "orseta 1.0.0.0" ] && pass "--version: $version" || fail "--version printed '$version'"

# Waits for the quiz's window; prints its X id.
window() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name 'Тесморил' 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits up to ten seconds for the program to end.
ended() {
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}
# The window's client area, as "W x H".
client_size() {
    xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w " x " h }'
}
# Clicks the control named (as "Option1 0") where a learner would, at the
# place the window's description gives it.
click() {
    local x y
    read -r x y < <("$geometry" "$2" "$3")
    [[ "$x $y" =~ ^[0-9]+\ [0-9]+$ ]] || { fail "orseta_geometry knows no place for $2 $3"; return 1; }
    xdotool mousemove --window "$1" "$x" "$y" click 1
    sleep 0.3
}

start() {
    wine "$1" >/dev/null 2>&1 &
    pid=$!
    id=$(window) || { fail "$1: no window appeared"; kill "$pid" 2>/dev/null; return 1; }
    sleep 1 # Wine maps the window before Qt has drawn it
}

# A right pairing by mouse: the variety "августит", then its mineral "берил",
# then "Изведи"; the verdict is read back from the output box through the
# clipboard, which Wine shares with X.
if start "$exe"; then
    size=$(client_size "$id")
    [ "$size" = "514 x 444" ] && pass "client area $size" || fail "client area is $size, not 514 x 444"
    click "$id" Option1 0
    click "$id" Option2 0
    click "$id" Command1 0
    click "$id" Text1 0
    xdotool key ctrl+a ctrl+c
    sleep 0.5
    verdict=$(xclip -o -selection clipboard 2>/dev/null | head -1 | tr -d '\r')
    [ "$verdict" = "Правилно!  августит -> берил" ] && pass "right pairing: $verdict" ||
        fail "after a right pairing the output box says '$verdict'"
    import -window root "$screenshot" 2>/dev/null
    xdotool key ctrl+q
    ended "$pid" && pass "Ctrl+Q closes it" || { fail "Ctrl+Q does not close it"; kill "$pid"; }
fi
if start "$exe"; then
    xdotool windowactivate --sync "$id" key alt+F4
    ended "$pid" && pass "Alt+F4 closes it" || { fail "Alt+F4 does not close it"; kill "$pid"; }
fi

if [ -n "${ORSETA_INSTALLER:-}" ]; then
    wine "$ORSETA_INSTALLER" /S >/dev/null 2>&1
    wineserver -w
    installed=$(winepath -u 'C:\Program Files\Орсета\bin\orseta.exe' 2>/dev/null)
    [ -f "$installed" ] && pass "installed as $installed" || fail "nothing at $installed after /S"
    menu=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Орсета' 2>/dev/null)
    [ -f "$menu/Орсета.lnk" ] && pass "Start-menu entry" || fail "no Start-menu entry in $menu"
    if [ -f "$installed" ] && start "$installed"; then
        xdotool windowactivate --sync "$id" key alt+F4
        ended "$pid" && pass "the installed program starts and closes" ||
            { fail "the installed program does not close"; kill "$pid"; }
    fi
    # The uninstaller runs from a copy of itself in the temporary folder;
    # wineserver -w waits for that too.
    wine 'C:\Program Files\Орсета\Uninstall.exe' /S >/dev/null 2>&1
    wineserver -w
    left=$(find "$(dirname "$(dirname "$installed")")" "$menu" 2>/dev/null)
    keys=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null |
        grep -i 'орсета\|orseta')
    [ -z "$left$keys" ] && pass "the uninstaller leaves nothing behind" ||
        fail "left after uninstalling: $left $keys"
fi

[ $failures -eq 0 ]
