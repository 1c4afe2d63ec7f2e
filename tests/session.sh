#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a command in a desktop session of its own, and takes the session down
# again when the command ends, whatever way it ends:
#   session.sh [--x11] [--atspi] [--wayland] [--wm] -- COMMAND [ARGS...]
# Always: a private D-Bus session bus (so Qt never autolaunches a daemon that
# outlives the test) and a private XDG_RUNTIME_DIR.
#   --x11      a private Xvfb at 96 DPI; DISPLAY is set. It does not reset when
#              its last client leaves, or a program started just then would
#              find no display.
#   --wm       openbox on that X server, so windows get focus as on a desktop
#   --bare-wm  the same without openbox's own keys, so that Alt+F4 and the
#              like reach the program itself, as on Windows
#   --atspi    the accessibility bus, with Qt's export switched on
#   --wayland  a headless weston; WAYLAND_DISPLAY is set
# Exits 77, which CTest reports as a skip, when a tool it needs is missing.
set -euo pipefail

x11=false wm=false bare=false atspi=false wayland=false
while [ $# -gt 0 ]; do
    case $1 in
    --x11) x11=true ;;
    --wm) x11=true wm=true ;;
    --bare-wm) x11=true wm=true bare=true ;;
    --atspi) x11=true atspi=true ;;
    --wayland) wayland=true ;;
    --) shift; break ;;
    *) echo "session.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done

skip() {
    echo "SKIP: $*"
    exit 77
}
need() {
    command -v "$1" >/dev/null || skip "$1 is not installed${2:+ (Debian: $2)}"
}

if [ -z "${ORSETA_IN_SESSION:-}" ]; then
    # First pass: start the bus, and come back in it.
    need dbus-run-session dbus-daemon
    export ORSETA_IN_SESSION=1
    options=()
    $x11 && options+=(--x11)
    $wm && options+=(--wm)
    $bare && options+=(--bare-wm)
    $atspi && options+=(--atspi)
    $wayland && options+=(--wayland)
    exec dbus-run-session -- "$0" "${options[@]}" -- "$@"
fi
unset ORSETA_IN_SESSION

scratch=$(mktemp -d)
children=()
cleanup() {
    local pid
    for pid in "${children[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${children[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Waits until FILE has something in it, or fails after five seconds.
await() {
    local _
    for _ in $(seq 100); do
        [ -s "$1" ] && return 0
        sleep 0.05
    done
    echo "session.sh: $2 did not start" >&2
    exit 1
}

if $x11; then
    need Xvfb xvfb
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset 3>"$scratch/display" >/dev/null 2>&1 &
    children+=($!)
    await "$scratch/display" Xvfb
    DISPLAY=":$(cat "$scratch/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
fi
if $wm; then
    need openbox openbox
    need xprop x11-utils
    # Seen once in many runs: openbox not up after five seconds. Try again
    # rather than run the test without a window manager.
    config=()
    if $bare; then
        sed '/<keyboard>/,/<\/keyboard>/{/<keyboard>\|<\/keyboard>/!d}' /etc/xdg/openbox/rc.xml >"$scratch/openbox.xml"
        config=(--config-file "$scratch/openbox.xml")
    fi
    for attempt in 1 2 3; do
        openbox --sm-disable "${config[@]}" >"$scratch/openbox.log" 2>&1 &
        openbox=$!
        children+=("$openbox")
        for _ in $(seq 100); do
            kill -0 "$openbox" 2>/dev/null &&
                xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break 2
            sleep 0.05
        done
        echo "session.sh: openbox did not start (attempt $attempt):" >&2
        cat "$scratch/openbox.log" >&2
        kill "$openbox" 2>/dev/null || true
    done
    kill -0 "$openbox" 2>/dev/null || { echo "session.sh: no window manager" >&2; exit 1; }
fi
if $atspi; then
    launcher=/usr/libexec/at-spi-bus-launcher
    [ -x $launcher ] || skip "the accessibility bus is not installed (Debian: at-spi2-core)"
    $launcher --launch-immediately >/dev/null 2>&1 &
    children+=($!)
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
            org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
        sleep 0.05
    done
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
fi
if $wayland; then
    need weston weston
    [ -n "$(find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' -print -quit 2>/dev/null)" ] ||
        skip "Qt's Wayland plugin is not installed (Debian: qt6-wayland)"
    weston --backend=headless-backend.so --socket=orseta-test --idle-time=0 \
        --log="$scratch/weston.log" >/dev/null 2>&1 &
    children+=($!)
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/orseta-test" ] && break
        sleep 0.05
    done
    [ -S "$XDG_RUNTIME_DIR/orseta-test" ] || { echo "session.sh: weston did not start" >&2; exit 1; }
    export WAYLAND_DISPLAY=orseta-test
    unset DISPLAY
    export QT_QPA_PLATFORM=wayland
fi

status=0
"$@" || status=$?
# A window manager that went away midway leaves windows that never become
# active, and the failures then say nothing of why.
if $wm && ! kill -0 "$openbox" 2>/dev/null; then
    echo "session.sh: openbox ended while the test ran:" >&2
    cat "$scratch/openbox.log" >&2
    [ $status -ne 0 ] || status=1
fi
exit $status
