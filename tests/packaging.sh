#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks what a desktop gets from orseta: the installed desktop file and
# metainfo validate, the Debian package holds everything, and it installs,
# starts and uninstalls cleanly in a throwaway root.
# Usage: packaging.sh BUILD_DIR APP_ID   (inside session.sh --x11)
set -euo pipefail
build=$1
app_id=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "packaging.sh: run it through session.sh --x11" >&2; exit 2; }
for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream dpkg-shlibdeps:dpkg-dev \
    xdotool:xdotool xprop:x11-utils; do
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
    ./usr/share/icons/hicolor/32x32/apps/$app_id.png ./usr/share/metainfo/$app_id.metainfo.xml; do
    grep -qx "$file" <<<"$contents" || fail "package lacks $file"
done
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 fonts-liberation qt6-translations-l10n; do
    grep -q "$needed" <<<"$depends" || fail "package does not depend on $needed"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "package does not recommend qt6-wayland"

# 3. It installs, starts and goes again, in a throwaway root, so nothing of
# the machine itself is touched. That root knows the packages the package
# depends on as this machine has them, so dpkg checks the dependencies as on a
# real install.
root="$scratch/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
for name in $(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*//; s/[[:space:]]//g'); do
    if dpkg-query -s "$name" >/dev/null 2>&1; then
        { dpkg-query -s "$name"; echo; } >>"$root/var/lib/dpkg/status"
        touch "$root/var/lib/dpkg/info/$(dpkg-query -W -f '${binary:Package}' "$name").list"
    fi
done
dpkg=(dpkg --root="$root" --force-not-root --force-script-chrootless)
scripts=$(dpkg-deb -e "$deb" "$scratch/control" && ls "$scratch/control")
[ "$(echo $scripts)" = "control md5sums" ] || fail "the package has maintainer scripts: $(echo $scripts)"
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
