#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The project's own scripts through their linters, as its C++ goes through
# the compilers' warnings: fails on any finding.
#   lint.sh shell SOURCE_DIR    every shell script, with shellcheck
#   lint.sh python SOURCE_DIR   every Python script, with pyflakes3
# A script is known by its name (.sh, .py) or by its first line. What is
# built or installed (build folders, node_modules) is not the project's own.
# A finding that is deliberate is said so where it stands, with a directive
# and its reason (and .shellcheckrc for the few that hold everywhere).
set -euo pipefail
kind=${1:?usage: lint.sh shell|python SOURCE_DIR}
source_dir=${2:?usage: lint.sh shell|python SOURCE_DIR}

skip() {
    echo "SKIP: $*"
    exit 77
}

# The files of the kind, one per line, relative to the source folder.
scripts() {
    local extension=$1 interpreter=$2 file
    (cd "$source_dir" &&
        find . \( -name '.git' -o -name 'build*' -o -name node_modules \) -prune -o -type f -print |
        sed 's|^\./||' | sort |
        while read -r file; do
            if [[ "$file" == *."$extension" ]] ||
                head -n1 "$file" 2>/dev/null | grep -q "^#!.*[/ ]$interpreter\([0-9.]*\)\?\$"; then
                echo "$file"
            fi
        done)
}

# Each kind: its linter, the Debian package it comes in, and how its scripts
# are known (name ending, interpreter).
case $kind in
shell) linter=shellcheck package=shellcheck extension=sh interpreter=bash ;;
python) linter=pyflakes3 package=pyflakes3 extension=py interpreter=python ;;
*)
    echo "usage: lint.sh shell|python SOURCE_DIR" >&2
    exit 2
    ;;
esac

command -v $linter >/dev/null || skip "$linter is not installed (Debian: $package)"
mapfile -t files < <(scripts $extension $interpreter)
echo "$linter on ${#files[@]} scripts"
cd "$source_dir"
$linter "${files[@]}"
echo "No finding."
