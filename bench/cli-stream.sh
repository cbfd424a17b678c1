#!/usr/bin/env bash
# Streaming cost of `numbrelia-cli variants`: a 10,000-digit number in mode 0 (every
# letter a digit) against `cat` of the same output, with the peak memory of each.
# Targets: peak below 60 MiB, time within 5 times that of cat.
#
#   bash bench/cli-stream.sh build/bin/numbrelia-cli [repetitions]
set -euo pipefail

cli=${1:?usage: cli-stream.sh PATH-TO-numbrelia-cli [repetitions]}
reps=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$here/../data/Data" "$work/Data"
# A fixed pseudo-random number (Park-Miller), the same on every machine.
number=$(awk 'BEGIN { x = 1; for (i = 0; i < 10000; i++) { x = (x * 16807) % 2147483647;
                       printf "%d", int(x * 10 / 2147483647) } }')
"$cli" --dir "$work" --mode 0 build >/dev/null # the cache, so runs measure the search

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
measure() { # command...: "seconds peak-KiB" per run, the output written to a file
    for _ in $(seq "$reps"); do
        local start end
        start=$(date +%s%N)
        /usr/bin/time -f "%M" -o "$work/t" "$@" >"$work/sink" 2>"$work/err"
        end=$(date +%s%N)
        echo "$(awk -v d=$((end - start)) 'BEGIN { printf "%.3f", d / 1e9 }') $(cat "$work/t")"
    done
}

"$cli" --dir "$work" --mode 0 variants "$number" >"$work/out" 2>"$work/err"
rows=$(wc -l <"$work/out")
bytes=$(wc -c <"$work/out")
note=$(cat "$work/err")

measure "$cli" --dir "$work" --mode 0 variants "$number" >"$work/cli"
measure cat "$work/out" >"$work/cat"
cli_s=$(cut -d' ' -f1 "$work/cli" | median)
cli_kib=$(cut -d' ' -f2 "$work/cli" | median)
cat_s=$(cut -d' ' -f1 "$work/cat" | median)
cat_kib=$(cut -d' ' -f2 "$work/cat" | median)

echo "output: $rows rows, $bytes bytes ($note)"
echo "numbrelia-cli: ${cli_s} s, peak $((cli_kib / 1024)) MiB (median of $reps)"
echo "cat:           ${cat_s} s, peak $((cat_kib / 1024)) MiB (median of $reps)"
awk -v c="$cli_s" -v k="$cat_s" -v m="$cli_kib" 'BEGIN {
    ratio = k > 0 ? c / k : 0
    printf "ratio %.1f (target <= 5), peak %.1f MiB (target < 60)\n", ratio, m / 1024
    exit !(m < 60 * 1024 && (k == 0 || ratio <= 5)) }'
