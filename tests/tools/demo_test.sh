#!/usr/bin/env bash
# drovak_make_demo: the set-up from our template, the settings pointed at it; a rerun keeps edits.
set -euo pipefail
make_demo=$1 assets=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
if [ -n "${DROVAK_WINE:-}" ]; then # the Windows build runs under Wine and names folders its way
    wpath() { winepath -w "$1" 2>/dev/null; } && sep='\'
else
    wpath() { printf '%s' "$1"; } && sep=/
fi
run() { ${DROVAK_WINE:-} "$make_demo" "$(wpath "$1")" "$(wpath "$2")" "$(wpath "$3")"; }
folder() { printf '%s%s' "$(wpath "$1")" "$sep"; }
callsign() { dd if="$work/demo/pilots/$1.sav" bs=1 skip=80 count="$2" status=none; } # PILOT N
ini=$work/program/drovak.ini
mkdir "$work/program" && cp "$assets/drovak.ini" "$ini" && echo "mine = kept" >>"$ini"
run "$assets/template.sav" "$work/demo" "$work/program"
for p in "F-22 Raptor/raptor" pilots/ace pilots/viper pilots/ghost pilots/bulldog; do
    [ "$(stat -c %s "$work/demo/$p.sav")" = 440 ] || fail "$p.sav is not 440 bytes"
done
for line in "savPath = $(folder "$work/demo/pilots")" "raptorPath = $(folder "$work/demo/F-22 Raptor")" \
    "firstRun = 0" "mine = kept"; do
    grep -qxF "$line"$'\r' "$ini" || fail "drovak.ini has no line '$line'"
done
[ "$(callsign ace 11)" = "~5ACE~3HIGH" ] || fail "ace's callsign"
printf 'edited' | dd of="$work/demo/pilots/viper.sav" bs=1 seek=80 conv=notrunc status=none
run "$assets/template.sav" "$work/demo" "$work/program"
[ "$(callsign viper 6)" = edited ] || fail "a second run overwrote the user's file"
echo "demo set-up ok"
