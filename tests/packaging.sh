#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks what a desktop gets from orseta: the installed desktop file and
# metainfo validate, the Debian package holds everything, Debian's checker
# finds nothing wrong with it, and it installs, starts and uninstalls cleanly
# in a throwaway root.
# Usage: packaging.sh BUILD_DIR APP_ID   (inside session.sh --x11)
#
# With --reproducible, builds the package twice instead, from copies of the
# source in two folders, as scripts/test builds it but without the tests, and
# checks that the two are the same to the byte:
#        packaging.sh --reproducible SOURCE_DIR
# Checks read "CONDITION && pass || fail": pass only prints, so fail
# follows only a failed CONDITION.
# shellcheck disable=SC2015
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$1" = --reproducible ]; then
    source=$(cd "$2" && pwd)
    command -v git >/dev/null && git -C "$source" rev-parse 2>/dev/null ||
        { echo "SKIP: not a git checkout, so no commit to date the package by"; exit 77; }
    # The date of the last commit, as a packager would set it.
    SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
    export SOURCE_DATE_EPOCH
    # The files of the checkout as they are now, committed or not.
    copy() {
        mkdir -p "$1"
        git -C "$source" ls-files -z --cached --others --exclude-standard |
            (cd "$source" && tar --null --files-from=- --ignore-failed-read -c) | tar -x -C "$1"
    }
    # package DIR ENV...: builds in DIR/build, at another time, in another
    # time zone and language, and makes the package in DIR/package.
    package() {
        local dir=$1
        shift
        copy "$dir"
        # shellcheck disable=SC2016 # expanded by the inner bash
        if ! cd "$dir" || ! env "$@" bash -c 'set -e; source scripts/common.sh; build -DBUILD_TESTING=OFF
                cd build && cpack -G DEB -B "$0"' "$dir/package" >"$dir/log" 2>&1; then
            tail -n 30 "$dir/log"
            fail "the build in $dir failed"
        fi
        ls "$dir"/package/orseta_*.deb
    }
    one=$(cd "$scratch" && package "$scratch/one" TZ=UTC LC_ALL=C.UTF-8)
    two=$(cd "$scratch" && package "$scratch/second/build/folder" TZ=Asia/Tokyo LC_ALL=bg_BG.UTF-8)
    if ! cmp -s "$one" "$two"; then
        if command -v diffoscope >/dev/null; then
            diffoscope --text - "$one" "$two" | head -n 200
        else
            echo "(diffoscope, Debian's diffoscope-minimal, would show more)"
            dpkg-deb -R "$one" "$scratch/one/x" && dpkg-deb -R "$two" "$scratch/two-x"
            diff -r "$scratch/one/x" "$scratch/two-x" | head -n 50
        fi
        fail "two builds of the same sources gave different packages"
    fi
    sha256sum "$one" "$two"
    echo "two builds in two folders gave the same package"
    exit 0
fi

build=$1
app_id=$2
[ -n "${DISPLAY:-}" ] || { echo "packaging.sh: run it through session.sh --x11" >&2; exit 2; }
for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream dpkg-shlibdeps:dpkg-dev \
    xdotool:xdotool xprop:x11-utils lintian:lintian hardening-check:devscripts; do
    command -v "${tool%%:*}" >/dev/null || { echo "SKIP: ${tool%%:*} is not installed (Debian: ${tool#*:})"; exit 77; }
done

# 1. A staged install validates.
cmake --install "$build" --prefix "$scratch/usr" >/dev/null
desktop-file-validate "$scratch/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$scratch/usr/share/metainfo/$app_id.metainfo.xml"
grep -qx 'Name=Орсета' "$scratch/usr/share/applications/$app_id.desktop" || fail "no Bulgarian name"
grep -q '^Categories=Education;' "$scratch/usr/share/applications/$app_id.desktop" ||
    fail "not under Education"

# 2. The package holds the program, the desktop file, the icons and the metainfo.
(cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null)
deb=$(ls "$scratch"/package/orseta_*.deb)
[[ $deb == *orseta_1.0.0.0_*.deb ]] || fail "unexpected package name $deb"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/orseta ./usr/share/applications/$app_id.desktop \
    ./usr/share/icons/hicolor/32x32/apps/$app_id.png ./usr/share/metainfo/$app_id.metainfo.xml \
    ./usr/share/doc/orseta/copyright ./usr/share/doc/orseta/changelog.gz \
    ./usr/share/man/man1/orseta.1.gz ./usr/share/man/bg/man1/orseta.1.gz; do
    grep -qx "$file" <<<"$contents" || fail "package lacks $file"
done
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 fonts-liberation; do
    grep -q "$needed" <<<"$depends" || fail "package does not depend on $needed"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "package does not recommend qt6-wayland"

# Debian's checker, as a distribution's reviewer runs it, finds no error, no
# warning and nothing about hardening; the program, as built and as packaged,
# has every hardening feature hardening-check looks for, and the packaged one
# no compiler notes.
lintian=$(lintian -I -E --pedantic "$deb" 2>"$scratch/lintian.err") ||
    fail "lintian did not run: $(cat "$scratch/lintian.err")"
bad=$(grep -E '^[EW]: |hardening|unneeded-section' <<<"$lintian") || true
[ -z "$bad" ] || fail "lintian:"$'\n'"$lintian"
dpkg-deb -x "$deb" "$scratch/unpacked"
# Control-flow protection holds only when every object linked carries it, the
# C library's start file too; where that does not (Debian 12), no program has
# it, whatever it is built with.
checks=()
readelf -n "$(c++ -print-file-name=Scrt1.o)" 2>/dev/null | grep -q 'x86 feature: IBT' || {
    checks+=(--nocfprotection)
    echo "not checked: control-flow protection, which the C library's start file lacks"
}
# Branch protection is arm64's (-mbranch-protection); Debian 13's
# hardening-check asks for it on every architecture.
options=$(hardening-check --help 2>&1 || true) # --help ends with status 1
if [ "$(dpkg --print-architecture)" != arm64 ] && grep -q -- --nobranchprotection <<<"$options"; then
    checks+=(--nobranchprotection)
fi
for binary in "$build/orseta" "$scratch/unpacked/usr/bin/orseta"; do
    hardening-check "${checks[@]}" "$binary" >"$scratch/hardening" || fail "$(cat "$scratch/hardening")"
done
! readelf -S "$scratch/unpacked/usr/bin/orseta" | grep -q '\.comment' ||
    fail "the packaged program keeps its .comment section"
echo "lintian and hardening-check pass${lintian:+; lintian says:}"
[ -z "$lintian" ] || echo "$lintian"

# 3. It installs, starts and goes again, in a throwaway root, so nothing of
# the machine itself is touched. That root knows the packages the package
# depends on as this machine has them, so dpkg checks the dependencies as on a
# real install.
root="$scratch/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
# Where the machine has a second architecture (i386, for 32-bit Wine), a
# library is there twice: the package's own architecture is the one meant.
arch=$(dpkg --print-architecture)
for name in $(dpkg-deb -f "$deb" Depends | tr ',|' '\n' | sed 's/(.*//; s/[[:space:]]//g'); do
    for query in "$name:$arch" "$name"; do
        if dpkg-query -s "$query" >/dev/null 2>&1; then
            { dpkg-query -s "$query"; echo; } >>"$root/var/lib/dpkg/status"
            touch "$root/var/lib/dpkg/info/$(dpkg-query -W -f '${binary:Package}' "$query").list"
            break
        fi
    done
done
dpkg=(dpkg --root="$root" --force-not-root --force-script-chrootless)
scripts=$(dpkg-deb -e "$deb" "$scratch/control" && ls "$scratch/control")
[ "${scripts//$'\n'/ }" = "control md5sums" ] || fail "the package has maintainer scripts: ${scripts//$'\n'/ }"
"${dpkg[@]}" -i "$deb" >/dev/null || fail "the package does not install"
[ -x "$root/usr/bin/orseta" ] || fail "installing did not put orseta in /usr/bin"

# The installed program starts on the X server session.sh gives this test, and
# its window names the class the menu entry names, so a desktop shell links the
# running window to its entry and icon.
"$root/usr/bin/orseta" &
program=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid $program | head -n1) ||
    fail "the installed program showed no window"
class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*= ".*", "\(.*\)"$/\1/p')
wanted=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$app_id.desktop")
kill $program
wait $program || true
[ -n "$class" ] && [ "$class" = "$wanted" ] ||
    fail "the window's class '$class' is not the menu entry's StartupWMClass '$wanted'"
"${dpkg[@]}" -r orseta >/dev/null || fail "the package does not remove"
left=$(find "$root" -path "$root/var" -prune -o ! -type d -print)
[ -z "$left" ] || fail "removing the package left:"$'\n'"$left"
echo "package installed, started and removed in a throwaway root"
