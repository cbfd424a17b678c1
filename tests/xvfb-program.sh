# Sourced by the scripts that drive the real program under xvfb-run.sh. Makes $work, a fresh
# folder removed on exit together with the program ($pid) if it still runs, and offers:
#   program_folder PROGRAM DATA_DIR [SETTINGS]  a copy of the program and the shipped data
#       in $work, settings.ini with SETTINGS (lines ending in \r\n) and no first-start help,
#       and a single-instance lock of this run's own, apart from any copy the user runs;
#   expect_clean_exit        waits for $pid to end, failing unless its status is 0;
#   wait_built SETTINGS_INI  waits (up to 60 s) until the first code-dictionary build has
#       written its checksum record, failing if the program ends first.
# The sourcing script defines fail().
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null # a test may have made part of it read-only
    rm -rf "$work"
}
trap cleanup EXIT

program_folder() {
    cp -r "$2"/. "$work"/
    cp "$1" "$work/numbrelia"
    printf '[NumbreliaSettings]\r\n%bFirstStart=0\r\n' "${3:-}" >"$work/settings.ini"
    export XDG_RUNTIME_DIR="$work/run"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}

wait_built() {
    for _ in $(seq 1 600); do
        grep -q '^Classic=' "$1" && return 0
        kill -0 "$pid" 2>/dev/null || fail "the program ended during start-up"
        sleep 0.1
    done
    return 1
}

# Waits for the program to end and fails unless it ended with status 0.
expect_clean_exit() {
    local rc
    set +e
    wait "$pid"
    rc=$?
    set -e
    pid=""
    [ "$rc" -eq 0 ] || fail "the program ended with status $rc"
}
