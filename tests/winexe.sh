#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# orseta.exe under Wine as a learner meets it: a 32-bit x86 program within
# 12 MB, it prints its version, starts with its window's client area 514 x
# 444 at 96 DPI, answers a right pairing made with real mouse clicks, and
# closes on Ctrl+Q and on Alt+F4. With the installer (ORSETA_INSTALLER) as a
# teacher uses it, and the MSI package (ORSETA_MSI) as a school's IT does:
# each installs silently for the whole machine with a Start-menu entry, the
# installed program starts, and removing it leaves nothing behind.
# Runs on the X server and in the 32-bit Wine prefix of scripts/windows --test.
# Where to click comes from the window's description, through orseta_geometry
# built for this machine.
#   winexe.sh ORSETA_EXE SCREENSHOT ORSETA_GEOMETRY
# Checks read "CONDITION && pass || fail": pass only prints, so fail
# follows only a failed CONDITION.
# shellcheck disable=SC2015
set -u
exe=$1
screenshot=$2
geometry=${3:-}
export WINEDEBUG=-all
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "PASS: $*"; }

export LC_ALL=C.UTF-8 # for grep -i on Cyrillic
for tool in wine xdotool xwininfo xclip import file iconv; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] ||
    { echo "SKIP: run by scripts/windows --test, which gives it an X server and a Wine prefix"; exit 77; }
[ -x "$geometry" ] ||
    { echo "FAIL: orseta_geometry, built for this machine, is not at '$geometry' (ORSETA_HOST_GEOMETRY)"; exit 1; }

# One file for every Windows PC: 32-bit x86, which 32-bit Windows needs and
# 64-bit Windows, x86 or ARM, runs too.
format=$(file -b "$exe")
[[ "$format" =~ ^PE32\ executable.*Intel\ (80386|i386) ]] && pass "orseta.exe: $format" ||
    fail "orseta.exe is not a 32-bit x86 Windows program: $format"

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

# The registry under KEY as text. Exported rather than queried: reg query
# writes in the console's code page, where Cyrillic is lost.
registry() {
    local file
    file=$(mktemp --suffix=.reg)
    wine reg export "$1" "$(winepath -w "$file")" /y >/dev/null 2>&1 &&
        iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'
    rm -f "$file"
}
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# After an install: the program where it belongs, started from there and
# closed, and its Start-menu entry at one of the places given (Windows paths).
check_installed() {
    local how=$1 installed entry found=
    installed=$(winepath -u "$2" 2>/dev/null)
    [ -f "$installed" ] && pass "$how: installed as $2" || { fail "$how: nothing at $2"; return 1; }
    for entry in "${@:3}"; do
        [ -f "$(winepath -u "$entry" 2>/dev/null)" ] && found=$entry
    done
    [ -n "$found" ] && pass "$how: Start-menu entry $found" || fail "$how: no Start-menu entry at ${*:3}"
    if start "$installed"; then
        xdotool windowactivate --sync "$id" key alt+F4
        ended "$pid" && pass "$how: the installed program starts and closes" ||
            { fail "$how: the installed program does not close"; kill "$pid"; }
    fi
}
# After removal: nothing left of what was installed (Windows paths), nor the
# program's entry in the list of installed programs, nor its registry key.
check_removed() {
    local how=$1 path left='' keys
    for path in "${@:2}"; do
        left+=$(find "$(winepath -u "$path" 2>/dev/null)" 2>/dev/null)
    done
    keys=$(registry "$uninstall" | grep -i 'орсета\|orseta')
    ! wine reg query 'HKLM\Software\Orseta' >/dev/null 2>&1 || keys+=" HKLM\\Software\\Orseta"
    [ -z "$left$keys" ] && pass "$how: removal leaves nothing behind" ||
        fail "$how: left after removal: $left $keys"
}

programs='C:\Program Files'
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
# Wine puts an all-users shortcut of Windows Installer's in the user's menu.
user_menu="C:\\users\\$(whoami)\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"
if [ -n "${ORSETA_INSTALLER:-}" ] && [ -n "${ORSETA_WINE_ON_QEMU:-}" ]; then
    # The installer's 32-bit stub is fixed at the address where qemu puts
    # Wine's own loader.
    echo "SKIP: the installer under Wine on qemu-i386, which cannot map it where it must be"
elif [ -n "${ORSETA_INSTALLER:-}" ]; then
    wine "$ORSETA_INSTALLER" /S >/dev/null 2>&1
    wineserver -w
    check_installed installer "$programs\Орсета\bin\orseta.exe" "$menu\Орсета\Орсета.lnk"
    # The uninstaller runs from a copy of itself in the temporary folder;
    # wineserver -w waits for that too.
    wine "$programs\Орсета\Uninstall.exe" /S >/dev/null 2>&1
    wineserver -w
    check_removed installer "$programs\Орсета" "$menu\Орсета"
fi
if [ -n "${ORSETA_MSI:-}" ]; then
    # As Group Policy or a technician's script installs it: for the whole
    # machine, without a question, without a restart.
    wine msiexec /i "$ORSETA_MSI" /qn >/dev/null 2>&1
    status=$?
    wineserver -w
    [ $status -eq 0 ] && pass "MSI: msiexec /i /qn ends with 0" || fail "MSI: msiexec /i /qn ended with $status"
    check_installed MSI "$programs\Орсета\orseta.exe" "$menu\Орсета.lnk" "$user_menu\Орсета.lnk"
    listed=$(registry "$uninstall")
    grep -q '^"DisplayName"="Орсета"$' <<<"$listed" && grep -q '^"DisplayVersion"="1\.0\.0\.0"$' <<<"$listed" &&
        pass "MSI: listed among the installed programs as Орсета 1.0.0.0" ||
        fail "MSI: not listed among the installed programs as Орсета 1.0.0.0"
    wine msiexec /x "$ORSETA_MSI" /qn >/dev/null 2>&1
    status=$?
    wineserver -w
    [ $status -eq 0 ] && pass "MSI: msiexec /x /qn ends with 0" || fail "MSI: msiexec /x /qn ended with $status"
    check_removed MSI "$programs\Орсета" "$menu\Орсета.lnk" "$user_menu\Орсета.lnk"
fi

[ $failures -eq 0 ]
