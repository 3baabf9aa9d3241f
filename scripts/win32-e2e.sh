#!/usr/bin/env bash
# A short end-to-end run of the Windows program: cross-builds drovak.exe, starts it under Wine
# on a virtual display, in a Wine prefix of its own whose game folder holds a blank pilot,
# accepts the setup wizard, types a callsign, saves with Ctrl+S and checks that the callsign
# landed in raptor.sav. The screenshot is left as <build>/windows-e2e.png.
# Needs scripts/install-deps.sh --windows. Not part of scripts/test.sh yet.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win32}
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DDROVAK_GUI=OFF -DDROVAK_TESTS=OFF >/dev/null
fi
nice ninja -C "$build" -j1 drovak >/dev/null

# A portable copy: the program and its assets in a folder of their own.
cp -r "$build/bin" "$work/program"
rm -f "$work/program/drovak.ini"
cp assets/drovak.ini "$work/program/"

wineboot -i >/dev/null 2>&1
game="$WINEPREFIX/drive_c/Program Files/Novalogic/F-22 Raptor"
mkdir -p "$game"
head -c 440 /dev/zero >"$game/raptor.sav"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
sleep 2
(cd "$work/program" && exec wine ./drovak.exe) >/dev/null 2>&1 &
pids+=($!)

# The wizard proposes the game folder; Enter accepts it.
for _ in $(seq 60); do
    xdotool search --name "Drovak Setup Wizard" >/dev/null 2>&1 && break
    sleep 1
done
xdotool key Return
for _ in $(seq 30); do
    xdotool search --name "F-22 Raptor Drovak" >/dev/null 2>&1 && break
    sleep 1
done
sleep 3
# The callsign field of the editor, then Ctrl+S.
xdotool mousemove 560 70 click 1
sleep 1
xdotool type --delay 120 ACE
xdotool key ctrl+s
sleep 3
import -window root "$build/windows-e2e.png"

callsign=$(dd if="$game/raptor.sav" bs=1 skip=80 count=3 2>/dev/null)
leftovers=$(find "$game" -name '.drovak-*' | wc -l)
if [ "$callsign" = "ACE" ] && [ "$leftovers" -eq 0 ]; then
    echo "win32-e2e: 1 passed, 0 failed"
else
    echo "win32-e2e: callsign '$callsign', $leftovers temporaries left"
    echo "win32-e2e: 0 passed, 1 failed"
    exit 1
fi
