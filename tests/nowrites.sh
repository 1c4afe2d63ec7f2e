#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts orseta under strace on the X server session.sh gives it, answers once
# rightly and once wrongly with the mouse, reads each verdict back from the
# output box, closes the program with Ctrl+Q, and shows that it wrote no file
# and opened no network socket on the way.
# Usage: nowrites.sh PROGRAM   (KEEP_TRACE=FILE keeps the strace log for a look)
set -euo pipefail
program=$1

# Run inside session.sh --x11: a private X server and session bus.
[ -n "${DISPLAY:-}" ] || { echo "nowrites.sh: run it through session.sh --x11" >&2; exit 2; }
for tool in strace xdotool xclip; do
    if ! command -v $tool >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

scratch=$(mktemp -d)
cleanup() {
    [ -n "${KEEP_TRACE:-}" ] && cp "$scratch/trace" "$KEEP_TRACE"
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

strace -f -qq -e trace=%file,%network -o "$scratch/trace" "$program" &
traced=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Тесморил' | head -n1) ||
    fail "the window did not appear"

# Places inside the window, in pixels: an option's label, a button's middle.
# The program takes the clicks in the order they were made.
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
}
# Waits until the output box, copied from as a learner would, begins with
# TEXT; fails with what it says after twenty seconds.
expect_shown() {
    local shown _
    for _ in $(seq 100); do
        click 250 400
        xdotool key ctrl+a ctrl+c
        shown=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
        [[ $shown == "$1"* ]] && return 0
        sleep 0.2
    done
    fail "$2: the box says: $shown"
}
click 144 122 # аметист
click 24 122  # кварц
click 38 196  # Изведи: right
expect_shown "Правилно!  аметист -> кварц" "the right answer did not reach the quiz"
click 144 62  # августит
click 24 102  # диамант
click 38 196  # Изведи: wrong
expect_shown "Грешен отговор - опитайте отново." "the wrong answer did not reach the quiz"
# A slow start (a sanitized build, say) may not yet take keys: ask again.
for _ in $(seq 20); do
    xdotool mousemove --window "$window" 250 400 key ctrl+q 2>/dev/null || true
    timeout 1 tail --pid=$traced -f /dev/null && break
done
kill -0 $traced 2>/dev/null && fail "the program did not end after Ctrl+Q"
status=0
wait $traced || status=$?
[ $status -eq 0 ] || fail "the program ended with status $status"

# Files opened for writing or created, outside the devices and the platform's
# runtime folder; then sockets of any family but the local one.
writes=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|^[0-9]+ +(creat|mkdir|rename|unlink|truncate)' "$scratch/trace" |
    grep -vE '"/dev/|"/proc/self/|'"$XDG_RUNTIME_DIR" | grep -v ' = -1 ' || true)
sockets=$(grep -E '^[0-9]+ +socket\(' "$scratch/trace" | grep -vE 'AF_UNIX|AF_LOCAL' || true)
[ -z "$writes" ] || fail "the program wrote:"$'\n'"$writes"
[ -z "$sockets" ] || fail "the program opened a network socket:"$'\n'"$sockets"
grep -q 'socket(AF_UNIX' "$scratch/trace" || fail "the trace saw no connection to the X server at all"
echo "no file written, no network socket opened ($(wc -l <"$scratch/trace") calls traced)"
