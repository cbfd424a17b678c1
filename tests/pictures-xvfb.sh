#!/usr/bin/env bash
# The picture pane of the built program in an X server (run under xvfb-run.sh), driven as
# a user drives it: pictures on, the shipped data. The browser reports every navigation on
# its standard error (NUMBRELIA_TRACE_NAVIGATION=1), which is how the test follows what
# the pane shows:
#   a variant selected            -> Help/pic.htm
#   a word focused, half a second -> Help/loading.htm, then the provider's address
# The network is closed here; the browser's own error page for the provider is all right.
# With NUMBRELIA_SCREENSHOT_DIR set, the window is saved there as main-window-pictures.png.
#   pictures-xvfb.sh NUMBRELIA DATA_DIR XWINDOW_TOOL
set -euo pipefail
program=$1 data=$2 tool=$3

fail() { echo "FAIL: $*" >&2; [ -f "$work/out.log" ] && grep '^browser ' "$work/out.log" | tail -n 20 >&2; exit 1; }

. "$(dirname "$0")/xvfb-program.sh"
program_folder "$program" "$data" 'ShowPic=1\r\n'

log="$work/out.log"
lines() { wc -l <"$log"; }
# The number of the first line after line $1 that matches $2, waiting up to 60 s.
wait_line() {
    local after=$1 pattern=$2 n
    for _ in $(seq 1 600); do
        n=$(tail -n +"$((after + 1))" "$log" | grep -n -m1 -E "$pattern" | cut -d: -f1 || true)
        if [ -n "$n" ]; then echo $((after + n)); return 0; fi
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
line_text() { sed -n "$1p" "$log"; }

help_url="file://$work/Help"
pic="^browser navigate $help_url/pic.htm$"
loading="^browser navigate $help_url/loading.htm$"
provider='^browser navigate https?://'

NUMBRELIA_TRACE_NAVIGATION=1 "$work/numbrelia" >"$log" 2>&1 &
pid=$!
"$tool" wait Numbrelia 30 || fail "no window appeared"

# Start-up: the first variant is selected, then every column focuses its word.
p=$(wait_line 0 "$pic") || fail "pic.htm not shown after the first selection"
l=$(wait_line "$p" "$loading") || fail "no loading page after the words were focused"
a=$(wait_line "$l" "$provider") || fail "no search after the loading page"
wait_line "$a" '^browser loaded https?://' >/dev/null || fail "the provider's page never finished"
echo "start-up: pic.htm, loading.htm, $(line_text "$a" | cut -d' ' -f3)"

# A number typed into the number field and Enter: a new selection, pic.htm again.
mark=$(lines)
"$tool" click Numbrelia 300 38
"$tool" key Numbrelia End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace \
    5 2 7 0 5 6 3 Return
p=$(wait_line "$mark" "$pic") || fail "pic.htm not shown after encoding 5270563"
l=$(wait_line "$p" "$loading") || fail "no loading page after the new selection"
a=$(wait_line "$l" "$provider") || fail "no search after the new selection"
wait_line "$a" '^browser loaded https?://' >/dev/null || fail "the provider's page never finished"
last=$(line_text "$a")
echo "after the selection: pic.htm, loading.htm, ${last#browser navigate }"

# A click into the first word column (5: боа, буй, обои; the click lands on a lower row),
# then the word above it: each a search of its own.
for step in click Up; do
    mark=$(lines)
    if [ "$step" = click ]; then "$tool" click Numbrelia 260 100; else "$tool" key Numbrelia Up; fi
    l=$(wait_line "$mark" "$loading") || fail "no loading page after the word focus change ($step)"
    a=$(wait_line "$l" "$provider") || fail "no search after the loading page ($step)"
    wait_line "$a" '^browser loaded https?://' >/dev/null || fail "the provider's page never finished ($step)"
    now=$(line_text "$a")
    [ "$now" != "$last" ] || fail "the search after '$step' is for the same word: $now"
    last=$now
    echo "after $step: loading.htm, ${now#browser navigate }"
done

if [ -n "${NUMBRELIA_SCREENSHOT_DIR:-}" ]; then
    sleep 1
    "$tool" shot Numbrelia "$NUMBRELIA_SCREENSHOT_DIR/main-window-pictures.png" || fail "no screenshot"
fi

for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    "$tool" close Numbrelia || true
    sleep 0.2
done
expect_clean_exit
echo "PASS"
