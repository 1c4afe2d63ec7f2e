# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Waiting for another package manager to let go of its locks, before an
# install of our own; sourced by scripts/common.sh. Defines, and does
# nothing when sourced.
# shellcheck shell=bash

# What a package manager holds while it works: dpkg's lock and its front
# end's (apt, the software updater, unattended-upgrades), and apt's over the
# package lists and the downloads. On a desktop just started, the updater
# often holds them for minutes; apt-get would fail at once. A test names
# locks and a package database of its own.
read -r -a PACKAGE_LOCKS <<<"${ORSETA_PACKAGE_LOCKS:-/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock}"
# Seconds to wait for them before giving up.
PACKAGE_LOCK_TIMEOUT=${ORSETA_PACKAGE_LOCK_TIMEOUT:-600}

# Prints "PID LOCK" for a lock of PACKAGE_LOCKS that a process holds, and fails
# if none is held. /proc/locks names the holder to any user, without root and
# without taking the lock; it gives the file as device and inode.
package_lock_holder() {
    local lock dev ino major minor key _ kind pid id
    local -A locks=()
    for lock in "${PACKAGE_LOCKS[@]}"; do
        read -r dev ino < <(stat -L -c '%d %i' "$lock" 2>/dev/null) || continue
        major=$(( ((dev >> 8) & 0xfff) | ((dev >> 32) & ~0xfff) ))
        minor=$(( (dev & 0xff) | ((dev >> 12) & ~0xff) ))
        locks["$major:$minor:$ino"]=$lock
    done
    # Without /proc (a bare chroot) no holder can be told: apt-get then waits
    # on its own.
    [ ${#locks[@]} -gt 0 ] && [ -r /proc/locks ] || return 1
    # "1: POSIX  ADVISORY  WRITE 812 fe:00:10952799 0 EOF"; a process waiting
    # for a lock is listed under its holder with "->" and holds nothing.
    while read -r _ kind _ _ pid id _; do
        [ "$kind" = "->" ] && continue
        IFS=: read -r major minor ino <<<"$id"
        [[ $major$minor =~ ^[0-9a-f]+$ ]] || continue
        key="$((16#$major)):$((16#$minor)):$ino"
        if [ -n "${locks[$key]:-}" ]; then
            echo "$pid ${locks[$key]}"
            return 0
        fi
    done </proc/locks
    return 1
}

# "apt-get, process 812", for a process id.
describe_process() {
    local name
    name=$(cat "/proc/$1/comm" 2>/dev/null) || true
    if [ -n "$name" ]; then
        echo "$name, process $1"
    elif [ "$1" -gt 0 ] 2>/dev/null; then
        echo "process $1"
    else
        echo "a process this system does not name"
    fi
}

# "42 s", "3 min 05 s".
describe_duration() {
    if [ "$1" -lt 60 ]; then
        echo "$1 s"
    else
        printf '%d min %02d s\n' $(($1 / 60)) $(($1 % 60))
    fi
}

# Returns once no package manager holds a lock of PACKAGE_LOCKS, saying on one
# line that it waits and for how long (on a terminal rewritten each second, in
# a log lengthened each minute). Fails after PACKAGE_LOCK_TIMEOUT seconds,
# naming the holder.
wait_for_package_manager() {
    local holder pid lock waited=0 start=$SECONDS minutes=0 tty=0
    local message="Waiting for another package manager to finish…"
    holder=$(package_lock_holder) || return 0
    [ -t 2 ] && tty=1
    read -r pid lock <<<"$holder"
    [ $tty -eq 1 ] || printf '%s (%s, holds %s)' "$message" "$(describe_process "$pid")" "$lock" >&2
    while holder=$(package_lock_holder); do
        read -r pid lock <<<"$holder"
        waited=$((SECONDS - start))
        if [ "$waited" -ge "$PACKAGE_LOCK_TIMEOUT" ]; then
            echo >&2
            echo "Gave up after $(describe_duration "$waited"): $lock is still held by $(describe_process "$pid")." \
                "Let it finish, or end it, then start again." >&2
            return 1
        fi
        if [ $tty -eq 1 ]; then
            printf '\r%s %s (%s, holds %s)\033[K' "$message" "$(describe_duration "$waited")" \
                "$(describe_process "$pid")" "$lock" >&2
        elif [ $((waited / 60)) -gt $minutes ]; then
            minutes=$((waited / 60))
            printf ' %d min' $minutes >&2
        fi
        sleep 1
    done
    waited=$((SECONDS - start))
    if [ $tty -eq 1 ]; then
        printf '\r%s done after %s\033[K\n' "$message" "$(describe_duration "$waited")" >&2
    else
        printf ', done after %s\n' "$(describe_duration "$waited")" >&2
    fi
}
