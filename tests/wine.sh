#!/usr/bin/env bash
# Runs a Windows program under Wine with its exit status: CTest's emulator in
# a Windows build. DISPLAY and WINEPREFIX come from scripts/windows --test.
set -u
export WINEDEBUG=-all
exec wine "$@"
