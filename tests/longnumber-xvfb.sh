#!/usr/bin/env bash
# Types a 100-digit number into the real program (run under xvfb-run.sh) as a user would,
# with Return, and checks that the window shows a new picture at once and still closes
# cleanly. With SHOT, the window after the number is saved there as a PNG.
#   longnumber-xvfb.sh NUMBRELIA DATA_DIR XWINDOW_TOOL [SHOT]
set -euo pipefail
program=$1 data=$2 tool=$3 shot=${4:-}

fail() { echo "FAIL: $*" >&2; [ -f "$work/out.log" ] && tail -n 20 "$work/out.log" >&2; exit 1; }

. "$(dirname "$0")/xvfb-program.sh"
program_folder "$program" "$data"

"$work/numbrelia" >"$work/out.log" 2>&1 &
pid=$!
"$tool" wait Numbrelia 30 || fail "no window appeared"
wait_built "$work/settings.ini" || fail "the first build never ended"
sleep 1
"$tool" shot Numbrelia "$work/before.png" || fail "no screenshot"

# A click into the number field (below the menu bar, right of its label); its number is
# replaced by 100 digits.
x=2026
digits=$(for _ in $(seq 1 100); do x=$(((x * 1103515245 + 12345) % 2147483648)); echo $((x / 65536 % 10)); done)
"$tool" click Numbrelia 200 34 || fail "no click"
# shellcheck disable=SC2046
"$tool" key Numbrelia End $(printf 'BackSpace %.0s' $(seq 1 12)) $digits Return || fail "keys refused"
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the program ended after the number"
"$tool" shot Numbrelia "$work/after.png" || fail "no screenshot after the number"
cmp -s "$work/before.png" "$work/after.png" && fail "the window did not change"
[ -n "$shot" ] && cp "$work/after.png" "$shot"

# A window that answers closes at the first request.
"$tool" close Numbrelia || fail "no window to close"
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the window did not close within 5 s"
expect_clean_exit
echo "PASS"
