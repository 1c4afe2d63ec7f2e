#!/usr/bin/env bash
# Checks what a desktop gets from orseta: the installed desktop file and
# metainfo validate, the Debian package holds everything and, where this test
# may use dpkg, installs, starts and uninstalls cleanly.
# Usage: packaging.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
app_id=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

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

# 3. It installs, starts and goes again, but only where that touches nothing
# of the user's: as root, with no orseta installed already.
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing the package needs root"
    exit 0
fi
if dpkg -s orseta >/dev/null 2>&1; then
    echo "SKIP: orseta is installed on this machine already; leaving it alone"
    exit 0
fi
trap 'dpkg -r orseta >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
dpkg -i "$deb" >/dev/null
status=0
QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/orseta || status=$?
[ "$status" -eq 124 ] || fail "the installed program did not keep running (exit $status)"
dpkg -r orseta >/dev/null
[ ! -e /usr/bin/orseta ] || fail "removing the package left /usr/bin/orseta"
echo "package installed, started and removed"
