#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a Windows program under Wine with its exit status: CTest's emulator in
# a Windows build. DISPLAY and WINEPREFIX come from scripts/windows --test.
set -u
export WINEDEBUG=-all
exec wine "$@"
