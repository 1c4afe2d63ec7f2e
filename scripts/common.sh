# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared by scripts/run and scripts/test: install what is missing, then build.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
SANITIZE=OFF
if [ "${1:-}" = "--sanitize" ]; then
    BUILD="$ROOT/build-sanitize"
    SANITIZE=ON
fi

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
    # a session of its own for every test: bus, X server, window manager
    dbus-daemon dbus-bin xvfb openbox x11-utils
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

# Installs PACKAGES and the packages named as arguments, where missing.
install_missing_packages() {
    local missing=() package
    for package in "${PACKAGES[@]}" "$@"; do
        dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# A release build in $BUILD. Arguments go to CMake.
build() {
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DORSETA_SANITIZE=$SANITIZE "$@"
    cmake --build "$BUILD"
}

# CTest counts a skipped test apart but says little of it, and nothing of a
# row a Qt Test program skipped while the rest of it passed: name each, and why.
# Reads the CTest output and log in the build folder given.
report_skips() {
    local skipped
    skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$1/ctest.out")
    awk -v whole=" $(echo $skipped) " '
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
