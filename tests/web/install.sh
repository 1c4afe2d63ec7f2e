#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the browser tests' npm packages as package-lock.json pins them,
# unless node_modules already holds exactly those:
#   install.sh [NPM]
set -euo pipefail
npm=${1:-npm}
cd "$(dirname "$0")"

# npm keeps what it installed in node_modules/.package-lock.json; when that
# names the same packages at the same versions as the lock, nothing is due.
if [ -f node_modules/.package-lock.json ] && node -e '
    const fs = require("fs");
    const want = JSON.parse(fs.readFileSync("package-lock.json")).packages;
    const have = JSON.parse(fs.readFileSync("node_modules/.package-lock.json")).packages;
    const names = Object.keys(want).filter((n) => n);
    const same = names.every((n) => have[n] && have[n].version === want[n].version &&
        fs.existsSync(n + "/package.json"));
    process.exit(same && Object.keys(have).length === names.length ? 0 : 1);
'; then
    echo "node_modules matches package-lock.json"
    exit 0
fi
"$npm" ci --ignore-scripts --no-audit --no-fund
