#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# How the program starts. --help and --version answer without a window system;
# an argument it does not take ends it with one line and status 2, while Qt's
# own options work. Where Qt's Wayland plugin is missing it runs on X11, and
# where no window system can be used it ends with one line and status 1, not
# an abort. Run in session.sh --x11. A copy of the program with a qt.conf of
# its own sees only the platform plugins put beside it. The manual pages
# render without a warning and say what --help says:
#   startup.sh PROGRAM MANUAL_PAGE BULGARIAN_MANUAL_PAGE
set -uo pipefail
program=$1
manual=$2
manual_bg=$3
plugins=$(find /usr/lib -path '*qt6/plugins/platforms/libqxcb.so' -print -quit 2>/dev/null)
[ -n "$plugins" ] || { echo "SKIP: Qt's X11 plugin is not installed (Debian: libqt6gui6)"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for setup in xcb none; do
    mkdir -p "$scratch/$setup/plugins/platforms"
    cp "$program" "$scratch/$setup/orseta"
    printf '[Paths]\nPlugins=%s\n' "$scratch/$setup/plugins" >"$scratch/$setup/qt.conf"
done
ln -s "$plugins" "$scratch/xcb/plugins/platforms/"

x11=$DISPLAY failures=0
# check NAME PLUGINS EXPECTED ENV... -- ARGS...: EXPECTED is "runs" (still up
# after two seconds) or "fails" (status 1, one line naming qt6-wayland).
check() {
    local name=$1 setup=$2 expected=$3 envs=() status lines
    shift 3
    while [ "$1" != -- ]; do envs+=("$1"); shift; done
    shift
    env -u QT_QPA_PLATFORM -u DISPLAY WAYLAND_DISPLAY=wayland-absent "${envs[@]}" \
        timeout 2 "$scratch/$setup/orseta" "$@" 2>"$scratch/stderr"
    status=$?
    lines=$(wc -l <"$scratch/stderr")
    if [ "$expected" = runs ] && [ $status = 124 ]; then
        echo "PASS: $name"
    elif [ "$expected" = fails ] && [ $status = 1 ] && [ "$lines" = 1 ] &&
        grep -q qt6-wayland "$scratch/stderr"; then
        echo "PASS: $name"
    else
        echo "FAIL: $name: status $status, $lines lines on stderr:"
        cat "$scratch/stderr"
        failures=$((failures + 1))
    fi
}

check "no Wayland plugin: X11" xcb runs DISPLAY="$x11" --
check "no Wayland plugin, Wayland asked for: X11" xcb runs DISPLAY="$x11" QT_QPA_PLATFORM=wayland --
check "no Wayland plugin, no X server" xcb fails --
check "no Wayland plugin, Wayland asked for, no X server" xcb fails QT_QPA_PLATFORM=wayland --
check "no plugin at all" none fails DISPLAY="$x11" --
check "-platform still decides" xcb fails DISPLAY="$x11" -- -platform wayland
check "Qt's own options" xcb runs DISPLAY="$x11" -- -reverse -qwindowtitle Орсета

# answer NAME STATUS PATTERN ARGS...: the program, with no window system but X11
# for an unknown argument, ends with STATUS and one line matching PATTERN.
answer() {
    local name=$1 expected=$2 pattern=$3 status out
    shift 3
    out=$(env -u QT_QPA_PLATFORM DISPLAY="$x11" timeout 2 "$scratch/xcb/orseta" "$@" 2>&1 |
        grep -v '^QStandardPaths')
    status=${PIPESTATUS[0]}
    if [ "$status" = "$expected" ] && grep -qE "$pattern" <<<"$out" &&
        { [ "$expected" = 0 ] || [ "$(wc -l <<<"$out")" = 1 ]; }; then
        echo "PASS: $name"
    else
        echo "FAIL: $name: status $status:"$'\n'"$out"
        failures=$((failures + 1))
    fi
}
answer "--version" 0 '^orseta 1\.0\.0\.0$' --version
answer "--help without a window system" 0 '^Употреба: orseta' --help -platform none
# The program quotes as Bulgarian does, „so“.
# shellcheck disable=SC1111
answer "an unknown option" 2 "„--bogus“" --bogus
# shellcheck disable=SC1111
answer "an argument" 2 "„quiz“" quiz

# The manual pages: man renders both without a warning; the Bulgarian one says
# every line --help prints (but the headings), and the English one names the
# same options.
for page in "$manual" "$manual_bg"; do
    warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    if [ -z "$warnings" ]; then
        echo "PASS: man renders $page"
    else
        echo "FAIL: man warns on $page:"$'\n'"$warnings"
        failures=$((failures + 1))
    fi
done
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man --no-hyphenation --no-justification -l "$manual_bg" |
    tr -s ' \n' '  ')
missing=$(env -u QT_QPA_PLATFORM "$program" --help | sed 's/^Употреба: //; /:$/d; /^$/d' |
    tr -s ' ' | while read -r line; do
        [[ $rendered == *"$line"* ]] || echo "  $line"
    done)
options() { grep -o '^\.B[IR]* .*' "$1" | grep -o '\\-[-a-z\\]*' | sort -u; }
if [ -n "$missing" ]; then
    echo "FAIL: the Bulgarian manual page lacks what --help says:"$'\n'"$missing"
    failures=$((failures + 1))
elif [ "$(options "$manual")" != "$(options "$manual_bg")" ]; then
    echo "FAIL: the manual pages name different options:"
    diff <(options "$manual") <(options "$manual_bg")
    failures=$((failures + 1))
else
    echo "PASS: the manual pages say what --help says"
fi
exit $((failures > 0))
