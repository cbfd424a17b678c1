#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a read-only root and runs both programs from
# there as a user whose home is a fresh folder (run under xvfb-run.sh): the user's files
# (settings, notebook, cache, own dictionary) must appear under the user's data folder only,
# and a second start must reuse the cache.
#   package-xvfb.sh BUILD_DIR XWINDOW_TOOL
set -euo pipefail
build=$1 tool=$2

fail() { echo "FAIL: $*" >&2; [ -f "$work/out.log" ] && tail -n 20 "$work/out.log" >&2; exit 1; }

. "$(dirname "$0")/xvfb-program.sh"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/pkg/numbrelia_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single numbrelia_VERSION_ARCH.deb: $(ls "$work/pkg")"
deb=${debs[0]}
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6webenginewidgets6* && $depends == *libqt6charts6* && $depends == *libicu* ]] ||
    fail "dependencies not taken from the binaries: $depends"

root=$work/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/numbrelia usr/bin/numbrelia-cli usr/share/numbrelia/Data/dic.lst \
    usr/share/numbrelia/Data/Codes.ini usr/share/numbrelia/Data/dic_tiers.ini usr/share/numbrelia/Help/index.htm \
    usr/share/applications/numbrelia.desktop usr/share/icons/hicolor/256x256/apps/numbrelia.png \
    usr/share/man/man1/numbrelia.1.gz usr/share/man/man1/numbrelia-cli.1.gz \
    usr/share/doc/numbrelia/copyright usr/share/doc/numbrelia/NOTICE; do
    [ -f "$root/$f" ] || fail "the package lacks /$f"
done
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "${metainfo[0]}" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "the metainfo file does not validate"; }
chmod -R a-w "$root"
# Root may write into a read-only tree: whatever is written there shows up as newer.
touch "$work/stamp"

export HOME=$work/home XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset XDG_DATA_HOME
cli=$root/usr/bin/numbrelia-cli
user=$HOME/.local/share/numbrelia
[ "$("$cli" build | head -n1)" = "cache rebuilt" ] || fail "the first build did not build the cache"
[ "$("$cli" build | head -n1)" = "cache reused" ] || fail "the second build did not reuse the cache"
cmp -s "$user/Data/dic.lst" "$root/usr/share/numbrelia/Data/dic.lst" || fail "no user copy of dic.lst"
"$cli" variants 5270563 | grep -q $'^[0-9-]*\t[0-9]*$' || fail "no variants from the installed tool"

# The window, with its user folder elsewhere; the help page is not to open on its own.
export XDG_DATA_HOME=$work/xdg
user=$XDG_DATA_HOME/numbrelia
mkdir -p "$user"
printf '[NumbreliaSettings]\r\nFirstStart=0\r\n' >"$user/settings.ini"
run_window() {
    "$root/usr/bin/numbrelia" >"$work/out.log" 2>&1 &
    pid=$!
    "$tool" wait Numbrelia 30 || fail "no window appeared"
    wait_built "$user/settings.ini" || fail "the first build never ended"
    # Closing is refused while the start-up load runs, so the request is repeated.
    for _ in $(seq 1 150); do
        kill -0 "$pid" 2>/dev/null || break
        "$tool" close Numbrelia || true
        sleep 0.2
    done
    local rc=0
    wait "$pid" || rc=$?
    pid=""
    [ "$rc" -eq 0 ] || fail "the program ended with status $rc"
}
run_window
for f in settings.ini notebook.txt notebook_add.txt Data/dic.lst Data/Codes.ini \
    Data/HidedWord.lst Data/IgnoredCode.lst Cache/Classic_1.lst Cache/Classic_3.lst; do
    [ -f "$user/$f" ] || fail "$f missing from the user's folder after the window closed"
done
tr -d '\r' <"$user/settings.ini" | grep -qx 'CodeCode=Classic' || fail "the settings were not saved"
touch "$work/stamp2"
run_window
[ -z "$(find "$user/Cache" -newer "$work/stamp2")" ] || fail "the second start rebuilt the cache"
[ -n "$(find "$user/notebook.txt" -newer "$work/stamp2")" ] || fail "the second start never loaded"

[ -z "$(find "$root" -newer "$work/stamp")" ] || fail "written into the package tree: $(find "$root" -newer "$work/stamp")"
strays=$(find "$work" \( -name settings.ini -o -name notebook.txt -o -name 'Classic_*.lst' \
    -o -name HidedWord.lst \) -not -path "$HOME/.local/share/numbrelia/*" -not -path "$user/*")
[ -z "$strays" ] || fail "user files outside the user's folder: $strays"

# A user folder that cannot be made: the error box, then the program ends.
touch "$work/blocked"
XDG_DATA_HOME=$work/blocked "$root/usr/bin/numbrelia" >"$work/out.log" 2>&1 &
pid=$!
"$tool" wait "Ошибка" 30 || fail "no error box for a user folder that cannot be made"
"$tool" close "Ошибка"
rc=0
wait "$pid" || rc=$?
pid=""
[ "$rc" -eq 1 ] || fail "the program ended with status $rc after the error box"

# --dir still names a portable folder, whose files stay in it.
cp -r "$root/usr/share/numbrelia" "$work/port" && chmod -R u+w "$work/port"
"$cli" --dir "$work/port" build >/dev/null || fail "the tool failed on a portable folder"
[ -f "$work/port/Cache/Classic_1.lst" ] || fail "--dir did not keep the cache in that folder"
echo "PASS"
