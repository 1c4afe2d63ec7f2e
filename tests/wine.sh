#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a Qt Test program built for Windows under Wine with its exit status:
# CTest's emulator in a Windows build. DISPLAY and WINEPREFIX come from
# scripts/windows --test. Under Wine nothing a console program writes to its
# standard output reaches a pipe, so the test log goes to a file, shown after.
set -u
export WINEDEBUG=-all
log=$(mktemp)
trap 'rm -f "$log"' EXIT
wine "$@" -o "Z:${log//\//\\},txt"
status=$?
tr -d '\r' <"$log"
exit $status
