#!/usr/bin/env bash
# Starts orseta under strace on a private X server, answers once rightly and
# once wrongly with the mouse, closes it with Ctrl+Q, and shows that it wrote
# no file and opened no network socket on the way.
# Usage: nowrites.sh PROGRAM   (KEEP_TRACE=FILE keeps the strace log for a look)
set -euo pipefail
program=$1

for tool in strace Xvfb xdotool; do
    if ! command -v $tool >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 0
    fi
done

scratch=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    [ -n "${KEEP_TRACE:-}" ] && cp "$scratch/trace" "$KEEP_TRACE"
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A private X server on the first free display.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$scratch/display")"

# Its own runtime folder, so Qt has no reason to make one.
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

strace -f -qq -e trace=%file,%network -o "$scratch/trace" "$program" &
traced=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name 'Тесморил' | head -n1) ||
    fail "the window did not appear"

# Places inside the window, in pixels: an option's label, a button's middle.
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.2
}
click 144 122 # аметист
click 24 122  # кварц
click 38 196  # Изведи: right
click 144 62  # августит
click 24 102  # диамант
click 38 196  # Изведи: wrong
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
