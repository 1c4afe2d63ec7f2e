#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Every file says who holds its copyright and under which licence (reuse
# lint), and the Debian package's copyright file, generated from the facts in
# CMakeLists.txt, says the same of each of them.
#   licensing.sh SOURCE_DIR COPYRIGHT_FILE
set -euo pipefail
source=$1
copyright=$2
command -v reuse >/dev/null || { echo "SKIP: reuse is not installed (Debian: reuse)"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

cd "$source"
lint=$(reuse lint 2>&1) || fail "reuse lint:"$'\n'"$lint"

# The copyright file's stanzas, one line each: pattern, copyright, licence.
stanzas=$(awk '
    /^Files:/ { n = split(substr($0, 7), patterns, " ") }
    /^Copyright:/ { holder = substr($0, 12) }
    /^License:/ && n {
        for (i = 1; i <= n; i++) print patterns[i] "\t" holder "\t" substr($0, 10)
        n = 0
    }' "$copyright")
[ -n "$stanzas" ] || fail "no Files stanza in $copyright"

# What reuse found in each file, one line for each copyright line: file,
# licence, copyright.
# REUSE-IgnoreStart
found=$(reuse spdx | awk '
    /^FileName: / { file = substr($0, 13) }
    /^LicenseInfoInFile: / { licence = substr($0, 20) }
    /^FileCopyrightText: / { text = 1; sub(/^FileCopyrightText: <text>/, "") }
    text {
        if (sub(/<\/text>$/, "")) text = 0
        sub(/^SPDX-FileCopyrightText: /, "")
        print file "\t" licence "\t" $0
    }')
# REUSE-IgnoreEnd
[ -n "$found" ] || fail "reuse spdx names no file"

# As in Debian's format, the last stanza whose pattern matches a file holds.
failures=0
while IFS=$'\t' read -r file licence holder; do
    said=
    while IFS=$'\t' read -r pattern stanza_holder stanza_licence; do
        # shellcheck disable=SC2053 # the pattern is a glob
        [[ $file == $pattern ]] && said="$stanza_holder"$'\t'"$stanza_licence"
    done <<<"$stanzas"
    if [ "$said" != "$holder"$'\t'"$licence" ]; then
        echo "FAIL: $file: its header says '$holder' under $licence," \
            "the copyright file '${said/$'\t'/' under '}'" >&2
        failures=$((failures + 1))
    fi
done <<<"$found"
[ $failures = 0 ] || exit 1
echo "reuse lint passes; the copyright file agrees with all $(cut -f1 <<<"$found" | sort -u | wc -l) files"
