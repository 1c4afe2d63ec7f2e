# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared by scripts/run, test, web, windows and debian13: install what is missing,
# then build.
# Sourced, not run.
# shellcheck shell=bash
# The package lists are read by the scripts that source this one.
# shellcheck disable=SC2034

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The build's flavour, as CMakePresets.json names it, and its folder.
PRESET=default
BUILD="$ROOT/build"

# The build with AddressSanitizer and UndefinedBehaviorSanitizer instead, in
# build-sanitize/.
use_sanitized_build() {
    PRESET=sanitize
    BUILD="$ROOT/build-sanitize"
}

# Debian's archive, where a script fetches from it itself: the Debian 13
# chroot, and Qt's source for Windows.
DEBIAN_MIRROR=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
DEBIAN_SECURITY_MIRROR=${DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}

# What tests/session.sh gives each test a session with: a bus, an X server,
# a window manager.
SESSION_PACKAGES=(dbus-daemon dbus-bin xvfb openbox x11-utils)

# Debian packages the program and its build need.
PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-wayland qt6-translations-l10n fonts-liberation
)
# And what the tests need besides.
TEST_PACKAGES=(
    # packaging and its checks: Debian's package checker, hardening-check,
    # the manual pages, the licensing, two builds compared
    dpkg-dev file cpp binutils-mingw-w64-x86-64 desktop-file-utils appstream
    lintian devscripts man-db reuse git diffoscope-minimal
    # the linters of the shell and Python scripts
    shellcheck pyflakes3
    # a session of its own for every test
    "${SESSION_PACKAGES[@]}"
    # the program under strace, driven and read back over X; keys pressed
    # through XTest under other keyboard layouts
    strace xdotool xclip x11-xkb-utils libxtst6
    # what a screen reader gets, over the accessibility bus
    at-spi2-core python3-pyatspi
    # Wayland compositors without a screen
    weston sway
    # desktop styles, themes and fonts the window must keep its look under
    adwaita-qt6 qt6-gtk-platformtheme qt6ct fonts-croscore fonts-urw-base35
)

# What the tests of orseta.exe run it under, in the Debian 13 chroot: 32-bit
# Wine (the i386 architecture), and what they drive and read it with on an X
# server of their own.
WINE=(wine wine32:i386)
WINE_PACKAGES=(
    "${WINE[@]}" "${SESSION_PACKAGES[@]}"
    xdotool xclip imagemagick file
)

# Where 32-bit Wine is to be installed: the i386 architecture beside the
# machine's own.
add_i386_architecture() {
    dpkg --print-foreign-architectures | grep -qx i386 && return 0
    dpkg --add-architecture i386
    apt-get update -q
}

# Whether this kernel starts 32-bit programs itself. Some do not (IA-32
# emulation switched off, as on some virtual machines: "32-bit emulation
# disabled" in the kernel's log); there scripts/windows runs them under
# qemu-user.
runs_32bit_programs() {
    /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "Please install as root: $*" >&2
        return 1
    fi
}

# The package database: a test names one of its own.
DPKG_ADMINDIR=${ORSETA_DPKG_ADMINDIR:-/var/lib/dpkg}
# Our own scripts may install side by side (.ci/run starts several at once):
# they take turns through this lock, as two apt-get updates at once would
# fail.
PACKAGE_TURN_LOCK=${ORSETA_PACKAGE_TURN_LOCK:-${TMPDIR:-/tmp}/orseta-packages.lock}

# Another package manager at work (the software updater, say) is waited for.
# shellcheck source=packagelock.sh
source "$ROOT/scripts/packagelock.sh"

# Prints those of the packages named that are not installed; a name may give
# the architecture, as wine32:i386. A package whose
# triggers another dpkg run has still to process ("triggers-pending",
# "triggers-awaited") is installed and usable, and so is one kept at its
# version ("hold ok installed").
missing_packages() {
    local package
    local -A installed=()
    while read -r package; do
        installed[$package]=1
    done < <(dpkg-query --admindir="$DPKG_ADMINDIR" -W -f '${db:Status-Status} ${Package} ${Package}:${Architecture}\n' "$@" 2>/dev/null |
        awk '$1 == "installed" || $1 == "triggers-pending" || $1 == "triggers-awaited" { print $2; print $3 }')
    for package in "$@"; do
        [ -n "${installed[$package]:-}" ] || echo "$package"
    done
}

# Installs the packages named as arguments, where missing; first
# waits for any other package manager at work. apt-get waits too, for the
# moment between the two. The packages are downloaded first and installed
# after, so that the time each took shows how much was spent waiting on the
# network.
install_missing_packages() {
    packages_where_missing install "$@"
}

# Only downloads them, into apt's cache, where a later
# install_missing_packages finds them: the network's part done ahead.
download_missing_packages() {
    packages_where_missing download "$@"
}

packages_where_missing() {
    local mode=$1 missing=() turn
    shift
    mapfile -t missing < <(missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    exec {turn}>>"$PACKAGE_TURN_LOCK"
    flock "$turn"
    # Less what another of our scripts installed while this one waited.
    mapfile -t missing < <(missing_packages "$@")
    if [ ${#missing[@]} -eq 0 ]; then
        exec {turn}>&-
        return 0
    fi
    local wait=(-o "DPkg::Lock::Timeout=$PACKAGE_LOCK_TIMEOUT") status=0 start
    local install=(install -y -q --no-install-recommends)
    echo "$([ "$mode" = install ] && echo Installing || echo Downloading): ${missing[*]}"
    { wait_for_package_manager &&
        start=$SECONDS &&
        as_root apt-get "${wait[@]}" update -q &&
        as_root env DEBIAN_FRONTEND=noninteractive apt-get "${wait[@]}" "${install[@]}" -d "${missing[@]}" &&
        echo "Packages: listed and downloaded in $(describe_duration $((SECONDS - start)))"
    } || status=$?
    if [ $status -eq 0 ] && [ "$mode" = install ]; then
        { wait_for_package_manager &&
            start=$SECONDS &&
            as_root env DEBIAN_FRONTEND=noninteractive apt-get "${wait[@]}" "${install[@]}" "${missing[@]}" &&
            echo "Packages: installed in $(describe_duration $((SECONDS - start)))"
        } || status=$?
    fi
    exec {turn}>&-
    return $status
}

# The build of PRESET in $BUILD. Arguments go to CMake.
build() {
    cmake -S "$ROOT" -B "$BUILD" --preset "$PRESET" "$@"
    cmake --build "$BUILD"
}

# CTest in $BUILD, with its output kept in the build folder, then what it
# skipped named; fails as CTest does. Arguments go to CTest.
run_ctest() {
    local status=0
    (cd "$BUILD" && ctest --output-on-failure "$@") | tee "$BUILD/ctest.out" || status=$?
    report_skips "$BUILD"
    return $status
}

# CTest counts a skipped test apart but says little of it, and nothing of a
# row a Qt Test program skipped while the rest of it passed: name each, and why.
# Reads the CTest output and log in the build folder given.
report_skips() {
    local skipped
    skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$1/ctest.out")
    awk -v whole=" ${skipped//$'\n'/ } " '
        /^[0-9]+\/[0-9]+ Test: / { test = $NF }
        /^SKIP/ {
            text = $0
            sub(/^SKIP *: */, "", text)
            what = ""
            # Qt Test: "Class::function(row) reason"; the row may hold brackets.
            if (match(text, /^[A-Za-z_][A-Za-z0-9_]*::[A-Za-z_][A-Za-z0-9_]*/)) {
                what = substr(text, RSTART, RLENGTH)
                sub(/^[^:]*::/, "", what)
                rest = substr(text, RLENGTH + 1)
                if (substr(rest, 1, 1) == "(") {
                    depth = 0
                    for (i = 1; i <= length(rest); ++i) {
                        c = substr(rest, i, 1)
                        depth += (c == "(") - (c == ")")
                        if (depth == 0) break
                    }
                    what = what substr(rest, 1, i)
                    rest = substr(rest, i + 1)
                }
                sub(/^ +/, "", rest)
                text = rest
            }
            if (index(whole, " " test " ")) what = "the whole test"
            line = "  " test (what == "" ? "" : " — " what) ": " text
            if (!seen[line]++) lines[++n] = line
            reasoned[test] = 1
        }
        END {
            count = split(whole, tests, " ")
            for (t = 1; t <= count; ++t)
                if (!(tests[t] in reasoned)) lines[++n] = "  " tests[t] " — the whole test: no reason given"
            if (n == 0) exit
            print ""
            print "Skipped, so not checked on this machine:"
            for (i = 1; i <= n; ++i) print lines[i]
        }
    ' "$1/Testing/Temporary/LastTest.log"
}
