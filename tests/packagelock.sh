#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The setup of scripts/common.sh on a machine where another package manager is
# at work: while another process holds a lock of dpkg's, it waits, says so on
# one line naming the holder, and installs once the lock is free; held too
# long, it gives up naming the holder, without calling apt-get; a package
# whose triggers are still to run counts as installed; and two of our own
# scripts take turns. Nothing is installed:
# the locks and the package database are in a scratch folder, and apt-get is
# a stand-in that records how it was called.
#   packagelock.sh SOURCE_DIR
# Checks read "CONDITION && pass || fail": pass only prints, so fail
# follows only a failed CONDITION.
# shellcheck disable=SC2015
set -u

skip() { echo "SKIP: $*"; exit 77; }
[ -r /proc/locks ] || skip "/proc/locks cannot be read, so lock holders cannot be told"
[ -x /usr/bin/python3 ] || skip "python3 is not installed"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "PASS: $*"; }

scratch=$(mktemp -d)
holder=
cleanup() {
    [ -n "$holder" ] && kill "$holder" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# A package database of dpkg's own format, read by the real dpkg-query.
record() {
    printf 'Package: %s\nStatus: %s\nMaintainer: Орсета <orseta@orseta.example>\n' "$1" "$2"
    printf 'Architecture: all\nVersion: 1.0\nDescription: a package of the test\n'
    [ -n "${3:-}" ] && printf '%s\n' "$3"
    echo
}
mkdir -p "$scratch/dpkg/updates" "$scratch/bin"
{
    record installed 'install ok installed'
    record held 'hold ok installed'
    record triggers-pending 'install ok triggers-pending' 'Triggers-Pending: ldconfig'
    record triggers-awaited 'install ok triggers-awaited' 'Triggers-Awaited: triggers-pending'
    record unpacked 'install ok unpacked'
    record half-configured 'install ok half-configured'
    record config-files 'deinstall ok config-files'
} >"$scratch/dpkg/status"
touch "$scratch/dpkg/lock-frontend" "$scratch/dpkg/lock"
ORSETA_DPKG_ADMINDIR="$scratch/dpkg" ORSETA_PACKAGE_LOCKS="$scratch/dpkg/lock-frontend $scratch/dpkg/lock" \
    ORSETA_PACKAGE_TURN_LOCK="$scratch/turn.lock" source "$1/scripts/common.sh"

# Which packages read as installed.
while read -r package expected; do
    if [ -z "$(missing_packages "$package")" ]; then got=installed; else got=missing; fi
    [ "$got" = "$expected" ] && pass "$package: $got" || fail "$package reads as $got, not $expected"
done <<'EOF'
installed          installed
held               installed
triggers-pending   installed
triggers-awaited   installed
unpacked           missing
half-configured    missing
config-files       missing
never-installed    missing
EOF

# apt-get as the setup calls it: it records its arguments, and whether a lock
# was still held, trying each as apt-get would, without waiting.
cat >"$scratch/bin/apt-get" <<EOF
#!/bin/sh
echo "\$*" >>"$scratch/apt-get.log"
for lock in ${PACKAGE_LOCKS[*]}; do
    /usr/bin/python3 -c 'import fcntl, sys; fcntl.lockf(open(sys.argv[1], "a"), fcntl.LOCK_EX | fcntl.LOCK_NB)' "\$lock" 2>/dev/null ||
        echo "called while \$lock was held" >>"$scratch/apt-get.log"
done
EOF
chmod +x "$scratch/bin/apt-get"
PATH="$scratch/bin:$PATH"
as_root() { "$@"; }

# Holds LOCK for SECONDS from another process, as dpkg and apt do (fcntl),
# under the name the software updater's process has.
ln -s /usr/bin/python3 "$scratch/unattended-upgrade"
hold() {
    rm -f "$scratch/holding"
    "$scratch/unattended-upgrade" -c '
import fcntl, sys, time
lock = open(sys.argv[1], "a")
fcntl.lockf(lock, fcntl.LOCK_EX)
open(sys.argv[2], "w").close()
time.sleep(float(sys.argv[3]))' "$1" "$scratch/holding" "$2" &
    holder=$!
    for _ in $(seq 100); do [ -e "$scratch/holding" ] && return 0; sleep 0.1; done
    fail "the process meant to hold $1 never took it"
    return 1
}

# Another package manager holds a lock for a few seconds (none: 0), then lets
# it go: the setup waits that long, says so on one line that names the holder,
# and then installs what is missing.
while read -r lock seconds; do
    : >"$scratch/apt-get.log"
    pid=
    if [ "$seconds" -gt 0 ]; then
        hold "$scratch/dpkg/$lock" "$seconds" || continue
        pid=$holder
    fi
    start=$SECONDS
    install_missing_packages installed triggers-pending unpacked 2>"$scratch/said" >/dev/null
    status=$? waited=$((SECONDS - start))
    [ -n "$pid" ] && wait "$pid"
    holder=
    said=$(cat "$scratch/said")
    name="$lock held for $seconds s"
    [ $status -eq 0 ] || fail "$name: the setup failed with status $status: $said"
    grep -q 'held' "$scratch/apt-get.log" && fail "$name: $(grep held "$scratch/apt-get.log")"
    calls=$(grep -v held "$scratch/apt-get.log" | tr '\n' '|')
    [ "$calls" = "-o DPkg::Lock::Timeout=600 update -q|-o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends -d unpacked|-o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends unpacked|" ] ||
        fail "$name: apt-get was called as '$calls'"
    if [ "$seconds" -eq 0 ]; then
        [ -z "$said" ] && [ $waited -le 1 ] && pass "$name: installs at once, saying nothing of waiting" ||
            fail "$name: took $waited s and said '$said'"
        continue
    fi
    [ $waited -ge $((seconds - 1)) ] || fail "$name: went on after $waited s"
    [ "$(wc -l <"$scratch/said")" -eq 1 ] || fail "$name: said more than one line: $said"
    case $said in
    "Waiting for another package manager to finish… (unattended-upgr, process $pid, holds $scratch/dpkg/$lock), done after "*)
        pass "$name: waited $waited s, then installed; said: $said" ;;
    *) fail "$name: said '$said'" ;;
    esac
done <<'EOF'
lock-frontend 3
lock          3
-             0
EOF

# Held beyond the time the setup waits: it gives up, naming the lock and its
# holder, and leaves apt-get alone.
: >"$scratch/apt-get.log"
hold "$scratch/dpkg/lock-frontend" 30 && {
    start=$SECONDS
    PACKAGE_LOCK_TIMEOUT=2 install_missing_packages unpacked 2>"$scratch/said" >/dev/null
    status=$? waited=$((SECONDS - start))
    said=$(tail -1 "$scratch/said")
    kill "$holder"
    wait "$holder" 2>/dev/null
    holder=
    [ $status -ne 0 ] || fail "held too long: the setup went on with status 0"
    [ $waited -ge 2 ] && [ $waited -le 5 ] || fail "held too long: gave up after $waited s, not 2"
    [ -s "$scratch/apt-get.log" ] && fail "held too long: apt-get was called: $(cat "$scratch/apt-get.log")"
    [[ $said == "Gave up after "*": $scratch/dpkg/lock-frontend is still held by unattended-upgr, process "[0-9]*". Let it finish, or end it, then start again." ]] &&
        pass "held too long: $said" || fail "held too long: said '$said'"
}

# Another of our scripts installing at the same moment (.ci/run starts
# several): the setup waits for its turn, without calling apt-get meanwhile,
# and then installs only what the other left missing; here, nothing.
: >"$scratch/apt-get.log"
flock "$scratch/turn.lock" sh -c "sleep 2; sed -i 's/install ok unpacked/install ok installed/' '$scratch/dpkg/status'" &
other=$!
sleep 0.5
start=$SECONDS
install_missing_packages unpacked >/dev/null 2>&1
status=$? waited=$((SECONDS - start))
wait $other
if [ $status -ne 0 ] || [ $waited -lt 1 ] || [ -s "$scratch/apt-get.log" ]; then
    fail "our own two at once: status $status after $waited s, apt-get called as '$(tr '\n' '|' <"$scratch/apt-get.log")'"
else
    pass "our own two at once: waited $waited s for the other's turn, then found nothing left to install"
fi

[ $failures -eq 0 ]
