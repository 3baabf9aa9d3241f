#!/usr/bin/env bash
# The demo set-up: made from our template, pointing the settings at itself, and never
# overwriting what the user changed on a second run.
set -euo pipefail
make_demo=$1
assets=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The Windows build's program runs under Wine (DROVAK_WINE) and names folders as Windows does.
if [ -n "${DROVAK_WINE:-}" ]; then
    run() {
        local args=() arg
        for arg; do args+=("$(winepath -w "$arg" 2>/dev/null)"); done
        "$DROVAK_WINE" "$make_demo" "${args[@]}"
    }
    folder() { printf '%s\\' "$(winepath -w "$1" 2>/dev/null)"; }
else
    run() { "$make_demo" "$@"; }
    folder() { printf '%s/' "$1"; }
fi

mkdir "$work/program"
cp "$assets/drovak.ini" "$work/program/"
echo "mine = kept" >>"$work/program/drovak.ini"
run "$assets/template.sav" "$work/demo" "$work/program"

[ "$(stat -c %s "$work/demo/F-22 Raptor/raptor.sav")" = 440 ] || fail "raptor.sav is not 440 bytes"
for p in ace viper ghost bulldog; do
    [ "$(stat -c %s "$work/demo/pilots/$p.sav")" = 440 ] || fail "$p.sav"
done
ini="$work/program/drovak.ini"
grep -qxF "savPath = $(folder "$work/demo/pilots")"$'\r' "$ini" || fail "savPath not set"
grep -qxF "raptorPath = $(folder "$work/demo/F-22 Raptor")"$'\r' "$ini" ||
    fail "raptorPath not set"
grep -q $'^firstRun = 0\r$' "$ini" || fail "first run still pending"
grep -q $'^mine = kept\r$' "$ini" || fail "unknown key lost"
# The callsign of ace.sav starts at byte 80.
[ "$(dd if="$work/demo/pilots/ace.sav" bs=1 skip=80 count=11 status=none)" = "~5ACE~3HIGH" ] \
    || fail "ace's callsign"

printf 'edited' | dd of="$work/demo/pilots/viper.sav" bs=1 seek=80 conv=notrunc status=none
run "$assets/template.sav" "$work/demo" "$work/program"
[ "$(dd if="$work/demo/pilots/viper.sav" bs=1 skip=80 count=6 status=none)" = "edited" ] \
    || fail "a second run overwrote the user's file"
echo "demo set-up ok"
