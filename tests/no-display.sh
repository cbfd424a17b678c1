#!/usr/bin/env bash
# The program started where there is no screen: a plain message naming xvfb-run and exit
# status 1, instead of Qt's abort.
set -uo pipefail
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1 >/dev/null)
rc=$?
echo "$err"
[ "$rc" -eq 1 ] || { echo "exit status $rc, expected 1" >&2; exit 1; }
grep -q "xvfb-run -a $1" <<<"$err" || { echo "no hint how to run it under xvfb-run" >&2; exit 1; }
