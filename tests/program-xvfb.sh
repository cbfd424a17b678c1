#!/usr/bin/env bash
# Starts the built program, as a user would, in an X server (run under xvfb-run.sh):
# a copy of the program and the shipped data in a fresh folder, pictures on, so the real
# browser engine starts. Waits until the first build is over, checks that a second copy
# ends at once, closes the window the way a window manager does (refused while busy, so
# the request is repeated) and checks what the shut-down wrote.
#   program-xvfb.sh NUMBRELIA DATA_DIR XWINDOW_TOOL
set -euo pipefail
program=$1 data=$2 tool=$3

fail() { echo "FAIL: $*" >&2; [ -f "$work/out.log" ] && tail -n 20 "$work/out.log" >&2; exit 1; }
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }

. "$(dirname "$0")/xvfb-program.sh"
program_folder "$program" "$data" 'ShowPic=1\r\n'

start=$(now)
"$work/numbrelia" >"$work/out.log" 2>&1 &
pid=$!
"$tool" wait Numbrelia 30 || fail "no window appeared"
echo "window shown after $(elapsed "$start") s"

wait_built "$work/settings.ini" || fail "the code dictionary was not built"
echo "code dictionary built after $(elapsed "$start") s"
for n in 1 2 3; do [ -f "$work/Cache/Classic_$n.lst" ] || fail "cache file $n missing"; done

second=$(now)
timeout 20 "$work/numbrelia" >"$work/second.log" 2>&1 || fail "the second copy failed"
echo "second copy ended after $(elapsed "$second") s"
kill -0 "$pid" 2>/dev/null || fail "the first copy ended"

# The picture pane runs the real browser engine in its own processes.
engine=""
for _ in $(seq 1 100); do
    for stat in /proc/[0-9]*/stat; do
        { read -r line <"$stat"; } 2>/dev/null || continue
        rest=${line#*) }
        ppid=$(echo "$rest" | cut -d' ' -f2)
        if [ "$ppid" = "$pid" ] && [[ $line == *QtWebEngine* ]]; then engine=yes; break; fi
    done
    [ -n "$engine" ] && break
    sleep 0.1
done
[ -n "$engine" ] || fail "no browser engine process"

# Close like the window manager's close box; a request while busy is refused.
for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    "$tool" close Numbrelia || true
    sleep 0.2
done
expect_clean_exit
echo "closed cleanly after $(elapsed "$start") s"

settings=$(tr -d '\r' <"$work/settings.ini")
for expected in CodeCode=Classic LetterColor=255 ShowPic=1 AddNull=0 VariantMakeType=0 \
    VariantsVirtualStringTreeWidth=225 BrowserPanelHeight=240; do
    grep -qx "$expected" <<<"$settings" || fail "settings.ini lacks $expected"
done
for f in Data/HidedWord.lst Data/IgnoredCode.lst notebook.txt notebook_add.txt; do
    [ -f "$work/$f" ] || fail "$f not written at shut-down"
done
echo "PASS"
