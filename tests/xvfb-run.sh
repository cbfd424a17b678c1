#!/usr/bin/env bash
# Runs a command inside its own X server (Xvfb on a free display) and stops the server
# afterwards. Used by the tests that need a real window system; XVFB_SCREEN sets the
# screen (default 1280x800x24).
set -euo pipefail

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 ${XVFB_SCREEN:-1280x800x24} -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
cleanup() {
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -f "$display_file"
}
trap cleanup EXIT

for _ in $(seq 1 100); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$display_file" ] || { echo "Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"
unset QT_QPA_PLATFORM
"$@"
