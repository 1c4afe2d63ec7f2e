#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# orseta.exe under Wine as a learner meets it: it prints its version, starts
# with its window's client area 514 x 444 at 96 DPI, answers a right pairing
# made with real mouse clicks, and closes on Ctrl+Q and on Alt+F4. With the
# installer (ORSETA_INSTALLER): a silent install for the whole machine, the
# installed program starts, and the uninstaller leaves nothing behind.
# Runs on the X server and in the Wine prefix of scripts/windows --test.
#   winexe.sh ORSETA_EXE SCREENSHOT
set -u
exe=$1
screenshot=$2
export WINEDEBUG=-all
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "PASS: $*"; }

for tool in wine xdotool xwininfo xclip import; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] ||
    { echo "SKIP: run by scripts/windows --test, which gives it an X server and a Wine prefix"; exit 77; }

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
# Clicks at x, y of the client area.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

start() {
    wine "$1" >/dev/null 2>&1 &
    pid=$!
    id=$(window) || { fail "$1: no window appeared"; kill "$pid" 2>/dev/null; return 1; }
    sleep 1 # Wine maps the window before Qt has drawn it
}

# A right pairing by mouse: "августит" (first row of the first column), then
# its mineral "берил" (the first), then "Изведи"; the verdict is read back
# through the clipboard, which Wine shares with X.
if start "$exe"; then
    size=$(client_size "$id")
    [ "$size" = "514 x 444" ] && pass "client area $size" || fail "client area is $size, not 514 x 444"
    click "$id" 144 62
    click "$id" 24 62
    click "$id" 40 196
    click "$id" 100 370
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
