#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The program ends when a wlroots compositor asks its window to close
# (xdg_toplevel.close, as sway's "kill" sends it), CLOSES times in a row:
#   swayclose.sh PROGRAM [CLOSES]
# Runs a headless sway of its own. sway refuses to run as root, so as root
# the check runs itself again as the user nobody, in a bus session of its own.
# Checks read "CONDITION && pass || fail": pass only prints, so fail
# follows only a failed CONDITION.
# shellcheck disable=SC2015
set -uo pipefail
program=$(realpath "$1") closes=${2:-20}
app_id=example.orseta.Orseta

skip() {
    echo "SKIP: $*"
    exit 77
}
command -v sway >/dev/null && command -v swaymsg >/dev/null || skip "sway is not installed (Debian: sway)"
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || skip "sway refuses root, and setpriv is missing"
    # The checkout may lie in a folder only root can enter (a clone in a
    # mktemp folder): nobody runs copies of the program and this script.
    copies=$(mktemp -d)
    trap 'rm -rf "$copies"' EXIT
    chmod 755 "$copies"
    cp "$program" "$(realpath "$0")" "$copies/"
    # The sanitizers' suppression files too, which a sanitized program must
    # read as it starts.
    for var in ASAN_OPTIONS LSAN_OPTIONS; do
        value=${!var:-}
        [[ $value =~ suppressions=([^:]*) ]] || continue
        cp "${BASH_REMATCH[1]}" "$copies/$var.supp"
        export "$var=${value/suppressions=${BASH_REMATCH[1]}/suppressions=$copies/$var.supp}"
    done
    setpriv --reuid=65534 --regid=65534 --clear-groups \
        env -u XDG_RUNTIME_DIR -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY HOME=/tmp \
        dbus-run-session -- bash "$copies/$(basename "$0")" "$copies/$(basename "$program")" "$closes"
    exit
fi

runtime=$(mktemp -d)
trap 'kill $sway 2>/dev/null; wait $sway 2>/dev/null; rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
printf 'output HEADLESS-1 resolution 1280x800\n' >"$runtime/config"
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 sway -c "$runtime/config" >"$runtime/sway.log" 2>&1 &
sway=$!
for _ in $(seq 200); do
    compgen -G "$runtime/sway-ipc.*.sock" >/dev/null && compgen -G "$runtime/wayland-[0-9]" >/dev/null && break
    sleep 0.05
done
compgen -G "$runtime/sway-ipc.*.sock" >/dev/null || { echo "FAIL: sway did not start:"; cat "$runtime/sway.log"; exit 1; }
SWAYSOCK=$(compgen -G "$runtime/sway-ipc.*.sock")
WAYLAND_DISPLAY=$(basename "$(compgen -G "$runtime/wayland-[0-9]")")
export SWAYSOCK WAYLAND_DISPLAY

# Waits up to twenty seconds for CONDITION (a command).
within() {
    local _
    for _ in $(seq 400); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
shown() { swaymsg -t get_tree | grep -q "\"app_id\": \"$app_id\""; }
ended() { ! kill -0 "$pid" 2>/dev/null; }
shown_or_ended() { shown || ended; }

failures=0
for close in $(seq "$closes"); do
    QT_QPA_PLATFORM=wayland "$program" 2>"$runtime/stderr" &
    pid=$!
    if ! within shown_or_ended || ended; then
        echo "FAIL: close $close: no window appeared:"; cat "$runtime/stderr"
        failures=$((failures + 1))
        kill -9 "$pid"; wait "$pid"
        continue
    fi
    swaymsg "[app_id=\"$app_id\"] kill" >/dev/null
    if ! within ended; then
        echo "FAIL: close $close: the program still runs 20 s after the compositor's close request"
        failures=$((failures + 1))
        kill -9 "$pid"
    fi
    wait "$pid"
    status=$?
    [ $status -eq 0 ] || [ $status -eq 137 ] || {
        echo "FAIL: close $close: status $status:"; cat "$runtime/stderr"
        failures=$((failures + 1))
    }
done
echo "$((closes - failures)) of $closes closes ended the program"
exit $((failures > 0))
