#!/usr/bin/env bash
# drive_win32.sh WINE DROVAK_EXE MAKE_DEMO_EXE OUTDIR, in xvfb-run on a 1800x1300 screen: the
# Windows program under Wine, from Save through the menu to three screen scales (each step below
# says what it shows). Screenshots and dpi-sizes.txt land in OUTDIR.
set -uo pipefail

wine=$1 drovak=$2 make_demo=$3 outdir=$4
label=win32 click_pause=0.5
. "$(dirname "$0")/../e2e/lib.sh"
assets=$here/../../assets
mkdir -p "$outdir"
rm -f "$outdir"/saved.png "$outdir"/readonly.png "$outdir"/failed.png "$outdir"/dpi-*
program=$work/program pilots=$work/demo/pilots
wine_prefix
on_failure() { xwd_png root "$outdir/failed.png"; }

# A portable copy as the zip holds it: the program and its settings, its files in data\.
mkdir -p "$program/data"
cp -r "$(dirname "$drovak")"/. "$program/data/" || fail "cannot copy the program folder"
mv "$program/data/drovak.exe" "$program/"
cp "$assets/drovak.ini" "$program/drovak.ini"
"$wine" "$make_demo" "$(windows_path "$program/data/template.sav")" "$(windows_path "$work/demo")" \
    "$(windows_path "$program")" >/dev/null 2>&1 || fail "drovak_make_demo failed"
ini_set soundOn 0
ini_set showSplashScreen 0
cp -r "$work/demo" "$work/original"

# Started by its bare name through PATH from another folder, it must find its files all the same.
(cd "$work" && WINEPATH="$(windows_path "$program")" exec "$wine" cmd /c drovak) \
    >"$outdir/drovak.log" 2>&1 &
pid=$!
main=$(wait_window "$title") || exit 1
sleep 2
# No window manager, so no caption: the menu bar is at the top, the client area below it.
eval "$(xdotool getwindowgeometry --shell "$main")"
ox=$X oy=$((Y + 20))

# ghost, the third row of the list: the header, then rows as tall as the pilots' 32-pixel icons
click_at $((ox + 60)) $((oy + 124))
click_at $((ox + 752)) $((oy + 28)) # the end of the callsign
keys $(printf 'BackSpace %.0s' $(seq 22))
keys shift+s t o r m
wait_for "no working copy of ghost after an edit" test -f "$pilots/ghost.dvw"

choose_save() { # File > Save with the mouse: the popup is a window of its own, Save second
    eval "$(xdotool getwindowgeometry --shell "$main")"
    click_at $((X + 13)) $((Y + 10))
    popup=""
    for ((i = 0; i < 50; i++)); do
        popup=$(xdotool search --onlyvisible --name '^$' 2>/dev/null | while read -r id; do
            eval "$(xdotool getwindowgeometry --shell "$id")"
            [ "$WIDTH" -lt 400 ] && [ "$HEIGHT" -gt 100 ] && echo "$id" && break
        done)
        [ -n "$popup" ] && break
        sleep 0.1
    done
    [ -n "$popup" ] || fail "File opened no menu"
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    click_at $((X + 30)) $((Y + 27))
}
choose_save
wait_for "the working copy survived Save" test ! -e "$pilots/ghost.dvw"
xwd_png root "$outdir/saved.png"
holds "$pilots/ghost.sav" "$work/original/pilots/ghost.sav" callsign=Storm ||
    fail "ghost.sav does not hold the new callsign"
for f in pilots/ace.sav pilots/bulldog.sav pilots/viper.sav "F-22 Raptor/raptor.sav"; do
    cmp -s "$work/demo/$f" "$work/original/$f" || fail "$f changed"
done
leftovers=$(find "$work/demo" -name '.drovak-*' | wc -l)
[ "$leftovers" -eq 0 ] || fail "$leftovers temporaries left"
# Ctrl+S keeps the field edit: the key after it (through WM_CHAR) lands in the callsign.
click_at $((ox + 752)) $((oy + 28))
keys x ctrl+s
wait_for "Ctrl+S did not save what was typed" holds "$pilots/ghost.sav" \
    "$work/original/pilots/ghost.sav" callsign=Stormx
keys shift+y
wait_for "the working copy does not hold the key typed after Ctrl+S" holds \
    "$pilots/ghost.dvw" "$work/original/pilots/ghost.sav" callsign=StormxY
xwd_png root "$outdir/after-ctrl-s.png"

# A read-only pilot (as copied from a CD): Save says so in a box and leaves the file as it was.
chmod a-w "$pilots/ghost.sav"
cp "$pilots/ghost.sav" "$work/readonly.sav"
click_at $((ox + 752)) $((oy + 28))
keys x
sleep 0.5
choose_save
box=$(wait_window Error) || exit 1
sleep 2
xwd_png "$box" "$outdir/readonly.png"
cmp -s "$pilots/ghost.sav" "$work/readonly.sav" || fail "the read-only ghost.sav changed"
xdotool windowfocus "$box" 2>/dev/null
keys Return
sleep 0.5
chmod u+w "$pilots/ghost.sav"
echo "win32 save: ok"

mkdir -p "$work/elsewhere"
cp "$pilots/viper.sav" "$work/elsewhere/Zulu.sav"
status=0
(cd "$program" && timeout 60 "$wine" ./drovak.exe "$(windows_path "$work/elsewhere/Zulu.sav")") \
    >>"$outdir/drovak.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
wait_for "the handed pilot did not arrive" cmp -s "$pilots/Zulu.sav" "$work/elsewhere/Zulu.sav"
windows=$(xdotool search --onlyvisible --name "^$title\$" | wc -l)
[ "$windows" -eq 1 ] || fail "$windows windows named '$title' after the second start"
echo "win32 second start: ok"

click_at $((ox + 752)) $((oy + 28))
keys q
wait_for "no working copy of Zulu after an edit" test -f "$pilots/Zulu.dvw"
cp "$pilots/ace.sav" "$pilots/Zulu.sav"
question=$(wait_window "Changed elsewhere") || exit 1
xwd_png root "$outdir/changed.png"
echo "win32 change elsewhere: ok"

# Killed outright (itself, not only the cmd that started it), the program leaves no claim
# behind: the next start is a window at once.
killed=""
for p in $(pgrep -f '^(.*\\)?drovak(\.exe)?$'); do
    grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$p/environ" 2>/dev/null && kill -9 "$p" && killed=1
done
[ -n "$killed" ] || fail "no drovak.exe process to kill"
kill -9 "$pid"
wait "$pid" 2>/dev/null
wait_gone "$title" 50
(cd "$program" && exec "$wine" ./drovak.exe) >>"$outdir/drovak.log" 2>&1 &
pid=$!
wait_window "$title" >/dev/null || exit 1
echo "win32 start after a kill: ok"
kill "$pid" 2>/dev/null
wineserver -k 2>/dev/null

for dpi in 96 144 192; do
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1 || fail "cannot set LogPixels"
    wineserver -w
    (cd "$program" && exec "$wine" ./drovak.exe) >"$outdir/dpi-$dpi.log" 2>&1 &
    pid=$!
    main=$(wait_window "$title") || exit 1
    sleep 3
    xwd_png root "$outdir/dpi-$dpi.png"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    echo "$dpi DPI: window ${WIDTH}x${HEIGHT} at $X,$Y" | tee -a "$outdir/dpi-sizes.txt"
    expected=$((780 * dpi / 96))
    [ "$WIDTH" -ge "$expected" ] && [ "$WIDTH" -le $((expected + 2)) ] ||
        fail "the window is $WIDTH pixels wide at $dpi DPI, not $expected"
    # At a whole factor each design pixel of the fields' drawing is a block of screen pixels.
    if ((dpi % 96 == 0)); then
        "$python" - "$outdir/dpi-$dpi.png" $((dpi / 96)) $((X + WIDTH / 2)) $((Y + HEIGHT / 3)) \
            $((X + WIDTH - 8)) $((Y + HEIGHT - 8)) <<'PY' || fail "not pixel for pixel at $dpi DPI"
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
f, left, top, right, bottom = (int(v) for v in sys.argv[2:])
px = image.load()
def blocky(dx, dy):
    return all(px[x, y] == px[x - (x - left - dx) % f, y - (y - top - dy) % f]
               for x in range(left + f, right) for y in range(top + f, bottom))
sys.exit(0 if any(blocky(dx, dy) for dx in range(f) for dy in range(f)) else 1)
PY
    fi
    kill "$pid" 2>/dev/null
    wineserver -k 2>/dev/null
    pid=""
done
echo "win32 dpi: ok"
