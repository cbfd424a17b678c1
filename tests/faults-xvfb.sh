#!/usr/bin/env bash
# The real program under faults, in an X server (run under xvfb-run.sh), in a fresh
# program folder with the shipped data and the picture pane on, so the browser engine
# runs too. Proves:
#   1. two copies started at the same instant: exactly one runs, the other ends at once
#      with status 0 and no window;
#   2. SIGTERM, SIGINT and SIGHUP each close the program like the close box: status 0,
#      and settings.ini and the four list files written by its shut-down;
#   3. SIGKILL in the middle of a long start-up (a 300,000-line dictionary): the user's
#      files are untouched, and the next start rebuilds, works and closes cleanly.
#   faults-xvfb.sh NUMBRELIA DATA_DIR XWINDOW_TOOL
set -euo pipefail
program=$1 data=$2 tool=$3

fail() { echo "FAIL: $*" >&2; [ -f "$work/out.log" ] && tail -n 20 "$work/out.log" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

cp -r "$data"/. "$work"/
cp "$program" "$work/numbrelia"
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
user_files=(Data/HidedWord.lst Data/IgnoredCode.lst notebook.txt notebook_add.txt)

# Settings that skip the help page (it would open a browser) and show pictures.
fresh_settings() { printf '[NumbreliaSettings]\r\nShowPic=1\r\nFirstStart=0\r\n' >"$work/settings.ini"; }

# Starts a copy with SIGINT and SIGHUP at their defaults, as from a terminal (a shell's
# background job would have SIGINT ignored, which the program keeps); sets $started.
start() {
    env --default-signal=INT,HUP "$work/numbrelia" >>"$work/out.log" 2>&1 &
    started=$!
    pids+=("$started")
}

# Waits up to $2 seconds for process $1 to end; sets $rc.
wait_end() {
    local pid=$1 limit=$2
    for _ in $(seq 1 $((limit * 10))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && return 1
    set +e
    wait "$pid"
    rc=$?
    set -e
    return 0
}

wait_built() {
    for _ in $(seq 1 600); do
        grep -q '^Classic=' "$work/settings.ini" 2>/dev/null && return 0
        kill -0 "$1" 2>/dev/null || fail "the program ended during start-up"
        sleep 0.1
    done
    fail "the code dictionary was not built"
}

# 1. Two copies at once.
fresh_settings
start; a=$started
start; b=$started
ended="" running=""
for _ in $(seq 1 200); do
    if ! kill -0 "$a" 2>/dev/null; then ended=$a running=$b; break; fi
    if ! kill -0 "$b" 2>/dev/null; then ended=$b running=$a; break; fi
    sleep 0.1
done
[ -n "$ended" ] || fail "both copies run"
wait_end "$ended" 1 && [ "$rc" -eq 0 ] || fail "the second copy ended with status $rc"
"$tool" wait Numbrelia 30 || fail "no window appeared"
wait_built "$running"
sleep 1
kill -0 "$running" 2>/dev/null || fail "the copy that ran ended"
echo "two copies started together: one ran, the other ended with status 0"
kill -TERM "$running"
wait_end "$running" 60 || fail "the running copy did not end on SIGTERM"
[ "$rc" -eq 0 ] || fail "SIGTERM: status $rc"

# 2. Each close signal, once the window is up.
for sig in TERM INT HUP; do
    fresh_settings
    for f in "${user_files[@]}"; do rm -f "$work/$f"; done
    start; pid=$started
    "$tool" wait Numbrelia 30 || fail "$sig: no window appeared"
    kill -"$sig" "$pid"
    wait_end "$pid" 60 || fail "$sig: the program did not end"
    [ "$rc" -eq 0 ] || fail "$sig: the program ended with status $rc"
    settings=$(tr -d '\r' <"$work/settings.ini")
    for expected in CodeCode=Classic LetterColor=255 ShowPic=1 VariantMakeType=0 \
        BrowserPanelHeight=240; do
        grep -qx "$expected" <<<"$settings" || fail "$sig: settings.ini lacks $expected"
    done
    for f in "${user_files[@]}"; do [ -f "$work/$f" ] || fail "$sig: $f not written"; done
    echo "SIG$sig: closed with status 0, settings and lists written"
done

# 3. SIGKILL during a long start-up, then the next start.
LC_ALL=C awk 'BEGIN { srand(2024); for (i = 0; i < 300000; i++) { w = "";
    n = 4 + int(rand() * 6); for (j = 0; j < n; j++) w = w sprintf("%c", 224 + int(rand() * 32));
    printf "%s\r\n", w } }' >>"$work/Data/dic.lst"
printf '5270563=52-70-563\r\n' >"$work/notebook.txt"
checksum() { (cd "$work" && md5sum Data/dic.lst "${user_files[@]}"); }
before=$(checksum)
fresh_settings
rm -rf "$work/Cache"
start; pid=$started
"$tool" wait Numbrelia 30 || fail "no window appeared"
sleep 1
grep -q '^Classic=' "$work/settings.ini" && echo "note: this machine finished the build before the kill"
kill -KILL "$pid"
wait_end "$pid" 10 || fail "SIGKILL did not end the program"
[ "$(checksum)" = "$before" ] || fail "a user file changed"
start; pid=$started
"$tool" wait Numbrelia 30 || fail "no window after the kill"
wait_built "$pid"
kill -TERM "$pid"
wait_end "$pid" 60 || fail "the next start did not end on SIGTERM"
[ "$rc" -eq 0 ] || fail "the next start ended with status $rc"
for n in 1 2 3; do [ -s "$work/Cache/Classic_$n.lst" ] || fail "cache file $n missing"; done
echo "SIGKILL during the start-up: the next start rebuilt and closed cleanly"
echo "PASS"
