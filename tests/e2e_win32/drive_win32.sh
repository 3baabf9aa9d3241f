#!/usr/bin/env bash
# A short end-to-end run of the Windows program under Wine on a virtual display. Runs inside
# xvfb-run:
#
#   drive_win32.sh WINE DROVAK_EXE MAKE_DEMO_EXE OUTDIR
#
# A portable copy of drovak.exe (its files in data\) starts on the demo set-up, by its bare
# name through PATH from another folder; a click on ghost in the list, a click at the end of
# the callsign, the old callsign erased and a new one typed, then File > Save chosen from the
# menu with the mouse. ghost.sav must then hold the new callsign, byte for byte, with no other
# file changed and no temporary left; then a key, Ctrl+S and a key after it in the callsign.
# Then ghost.sav is made read-only: Save must show its error box and leave the file alone.
# Then a second start with a file hands it to the running window and ends with status 0, and a
# pilot rewritten by another program while it has unsaved changes brings up the question.
# Screenshots land in OUTDIR.
set -uo pipefail

wine=$1
drovak=$2
make_demo=$3
outdir=$4
here=$(cd "$(dirname "$0")" && pwd)
assets=$here/../../assets
python=/usr/bin/python3
mkdir -p "$outdir"
rm -f "$outdir"/saved.png "$outdir"/readonly.png "$outdir"/failed.png # the other runs' stay

title="F-22 Raptor Drovak"
pid=""
work=$(mktemp -d)
program=$work/program
# A Wine prefix of its own: a Wine session another test started would show no windows here.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1

cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

shoot() { # PNG: the whole screen
    xwd -root -silent -out "$work/screen.xwd" &&
        "$python" "$here/../e2e/xwd2png.py" "$work/screen.xwd" "$1"
    rm -f "$work/screen.xwd"
}

fail() {
    echo "FAIL [win32]: $*" >&2
    shoot "$outdir/failed.png"
    exit 1
}

windows_path() { winepath -w "$1" 2>/dev/null; }

ini_set() { # KEY VALUE: one line of drovak.ini, its CR LF kept
    sed -i "s|^$1 = .*\r\$|$1 = $2\r|" "$program/drovak.ini"
    grep -q "^$1 = $2"$'\r'"\$" "$program/drovak.ini" || fail "could not set $1"
}

wait_window() { # NAME: prints the id of the visible window of that name
    local id
    for ((i = 0; i < 600; i++)); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && echo "$id" && return 0
        kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for '$1'"
        sleep 0.1
    done
    fail "no window '$1' appeared"
}

click_at() { # screen x, y
    xdotool mousemove "$1" "$2" sleep 0.2 click 1
    sleep 0.5
}

# A portable copy as the zip holds it: the program, its shipped files in data\ beside it, the
# shipped settings beside the program.
mkdir -p "$program/data"
cp -r "$(dirname "$drovak")"/. "$program/data/" || fail "cannot copy the program folder"
mv "$program/data/drovak.exe" "$program/"
cp "$assets/drovak.ini" "$program/drovak.ini"
"$wine" "$make_demo" "$(windows_path "$program/data/template.sav")" "$(windows_path "$work/demo")" \
    "$(windows_path "$program")" >/dev/null 2>&1 || fail "drovak_make_demo failed"
ini_set soundOn 0
ini_set showSplashScreen 0
cp -r "$work/demo" "$work/original"

# Started as a user with the program's folder on PATH would: by its bare name, from another
# folder. The program must find its files all the same.
(cd "$work" && WINEPATH="$(windows_path "$program")" exec "$wine" cmd /c drovak) \
    >"$outdir/drovak.log" 2>&1 &
pid=$!
main=$(wait_window "$title") || exit 1
sleep 2
# Without a window manager the frame has no caption: its menu bar is at its top, and the
# client area (the editor's own coordinates) starts below it.
eval "$(xdotool getwindowgeometry --shell "$main")"
ox=$X
oy=$((Y + 20))

# ghost, the third row of the list: the header, then rows as tall as the pilots' 32-pixel icons
click_at $((ox + 60)) $((oy + 124))
click_at $((ox + 752)) $((oy + 28)) # the end of the callsign
xdotool key --delay 60 $(printf 'BackSpace %.0s' $(seq 22))
xdotool key --delay 60 shift+s t o r m
sleep 0.5
pilots=$work/demo/pilots
[ -f "$pilots/ghost.dvw" ] || fail "no working copy of ghost after an edit"

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
for ((i = 0; i < 50; i++)); do
    [ -e "$pilots/ghost.dvw" ] || break
    sleep 0.1
done
shoot "$outdir/saved.png"

[ -e "$pilots/ghost.dvw" ] && fail "the working copy survived Save"
"$python" "$here/../e2e_app/savcheck.py" "$pilots/ghost.sav" "$work/original/pilots/ghost.sav" \
    callsign=Storm || fail "ghost.sav does not hold the new callsign"
for f in pilots/ace.sav pilots/bulldog.sav pilots/viper.sav "F-22 Raptor/raptor.sav"; do
    cmp -s "$work/demo/$f" "$work/original/$f" || fail "$f changed"
done
leftovers=$(find "$work/demo" -name '.drovak-*' | wc -l)
[ "$leftovers" -eq 0 ] || fail "$leftovers temporaries left"
# Ctrl+S from the keyboard keeps the field edit: the key after it lands in the callsign, and
# the characters come through WM_CHAR.
click_at $((ox + 752)) $((oy + 28))
xdotool key --delay 60 x ctrl+s
for ((i = 0; i < 50; i++)); do
    [ -e "$pilots/ghost.dvw" ] || break
    sleep 0.1
done
"$python" "$here/../e2e_app/savcheck.py" "$pilots/ghost.sav" "$work/original/pilots/ghost.sav" \
    callsign=Stormx || fail "Ctrl+S did not save what was typed"
xdotool key --delay 60 shift+y
# The working copy catches up with the typing a moment after the key.
for ((i = 0; i < 50; i++)); do
    "$python" "$here/../e2e_app/savcheck.py" "$pilots/ghost.dvw" \
        "$work/original/pilots/ghost.sav" callsign=StormxY 2>/dev/null && break
    sleep 0.2
done
"$python" "$here/../e2e_app/savcheck.py" "$pilots/ghost.dvw" "$work/original/pilots/ghost.sav" \
    callsign=StormxY || fail "the working copy does not hold the key typed after Ctrl+S"
shoot "$outdir/after-ctrl-s.png"

# A pilot made read-only (as files copied from a CD are): Save says so in a box of its own and
# leaves the file as it was; the box's picture is kept.
chmod a-w "$pilots/ghost.sav"
cp "$pilots/ghost.sav" "$work/readonly.sav"
click_at $((ox + 752)) $((oy + 28))
xdotool key --delay 60 x
sleep 0.5
choose_save
box=$(wait_window Error) || exit 1
sleep 2
xwd -id "$box" -silent -out "$work/box.xwd" &&
    "$python" "$here/../e2e/xwd2png.py" "$work/box.xwd" "$outdir/readonly.png"
cmp -s "$pilots/ghost.sav" "$work/readonly.sav" || fail "the read-only ghost.sav changed"
xdotool windowfocus "$box" 2>/dev/null
xdotool key Return
sleep 0.5
chmod u+w "$pilots/ghost.sav"
echo "win32 save: ok"

# A second start with a file hands it to the running window and ends with status 0.
mkdir -p "$work/elsewhere"
cp "$pilots/viper.sav" "$work/elsewhere/Zulu.sav"
status=0
(cd "$program" && timeout 60 "$wine" ./drovak.exe "$(windows_path "$work/elsewhere/Zulu.sav")") \
    >>"$outdir/drovak.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
for ((i = 0; i < 50; i++)); do
    cmp -s "$pilots/Zulu.sav" "$work/elsewhere/Zulu.sav" && break
    sleep 0.1
done
cmp -s "$pilots/Zulu.sav" "$work/elsewhere/Zulu.sav" || fail "the handed pilot did not arrive"
windows=$(xdotool search --onlyvisible --name "^$title\$" | wc -l)
[ "$windows" -eq 1 ] || fail "$windows windows named '$title' after the second start"
echo "win32 second start: ok"

# Zulu is open: typed into and then rewritten by another program, the window asks.
click_at $((ox + 752)) $((oy + 28))
xdotool key --delay 60 q
for ((i = 0; i < 50; i++)); do
    [ -f "$pilots/Zulu.dvw" ] && break
    sleep 0.1
done
[ -f "$pilots/Zulu.dvw" ] || fail "no working copy of Zulu after an edit"
cp "$pilots/ace.sav" "$pilots/Zulu.sav"
question=$(wait_window "Changed elsewhere") || exit 1
shoot "$outdir/changed.png"
echo "win32 change elsewhere: ok"

# Killed outright, the program leaves no claim behind: the next start is a window at once.
kill -9 "$pid"
wait "$pid" 2>/dev/null
for ((i = 0; i < 50; i++)); do
    xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 || break
    sleep 0.1
done
(cd "$program" && exec "$wine" ./drovak.exe) >>"$outdir/drovak.log" 2>&1 &
pid=$!
wait_window "$title" >/dev/null || exit 1
echo "win32 start after a kill: ok"
