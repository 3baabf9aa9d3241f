#!/usr/bin/env bash
# Start-up of the Windows program under Wine against a bare Win32 window under the same Wine
# (bench/barewindow_win32.cpp: the main window's size, a menu bar and a report list, nothing
# drawn): the time from launch to the first paint. Each round starts the bare window and the
# program on a fresh copy of its folder with the demo set-up (no splash, no sound), in turns;
# the Wine server stays up throughout, so neither pays for starting it. Both print "first
# paint N" under DROVAK_REPORT_FIRST_PAINT. The ratio is the median of each round's ratio.
#
#   startup_win32.sh BUILD_DIR [ROUNDS]
#
# BUILD_DIR is a Windows build (cmake/mingw-w64-x86_64.cmake, DROVAK_BENCH=ON) holding
# bin/drovak.exe with its files, bench/drovak_bare_window.exe and
# tools/demo/drovak_make_demo.exe.
set -uo pipefail

build=$(cd "$1" && pwd)
rounds=${2:-9}
drovak=$build/bin/drovak.exe
bare=$build/bench/drovak_bare_window.exe
make_demo=$build/tools/demo/drovak_make_demo.exe
assets=$(cd "$(dirname "$0")/../assets" && pwd)

for needed in "$drovak" "$bare" "$make_demo"; do
    if [ ! -f "$needed" ]; then
        echo "startup_win32: no $needed (a Windows build with DROVAK_BENCH)" >&2
        exit 1
    fi
done
if [ -z "${DROVAK_STARTUP_INNER:-}" ]; then
    DROVAK_STARTUP_INNER=1 exec timeout 900 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
wineserver -w # the prefix's set-up runs on after wineboot returns
wineserver -p # stays up between the runs
cleanup() {
    wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ms_now() {
    date +%s%3N
}

make_program() { # N
    local program=$work/run$1/program
    mkdir -p "$program"
    cp -r "$(dirname "$drovak")"/. "$program/"
    cp "$assets/drovak.ini" "$program/drovak.ini"
    wine "$make_demo" "$(winepath -w "$program/template.sav")" "$(winepath -w "$work/run$1/demo")" \
        "$(winepath -w "$program")" >/dev/null 2>&1 || return 1
    sed -i 's/^soundOn = 1\r$/soundOn = 0\r/; s/^showSplashScreen = 1\r$/showSplashScreen = 0\r/' \
        "$program/drovak.ini"
    echo "$program"
}

# Starts EXE under Wine in its own folder, waits for its first paint and ends it: prints MS.
one_run() { # NAME EXE
    local err=$work/$1.stderr start painted="" pid
    start=$(ms_now)
    (cd "$(dirname "$2")" && DROVAK_REPORT_FIRST_PAINT=1 exec wine "$2") 2>"$err" &
    pid=$!
    for ((i = 0; i < 600; i++)); do
        painted=$(sed -n 's/^first paint \([0-9]*\)\r*$/\1/p' "$err" | head -n 1)
        [ -n "$painted" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    # The started process is the Windows program itself; the server stays.
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    sleep 0.5
    if [ -z "$painted" ]; then
        echo "startup_win32: $1 never painted" >&2
        grep -v '^ALSA lib' "$err" >&2
        return 1
    fi
    echo "$((painted - start))"
}

results=$work/results
for ((n = 1; n <= rounds; n++)); do
    program=$(make_program "$n") || exit 1
    sync
    if ((n % 2)); then
        b=$(one_run "bare$n" "$bare") || exit 1
        d=$(one_run "drovak$n" "$program/drovak.exe") || exit 1
    else
        d=$(one_run "drovak$n" "$program/drovak.exe") || exit 1
        b=$(one_run "bare$n" "$bare") || exit 1
    fi
    echo "$b $d" >>"$results"
    printf 'round %d under Wine: first paint %5d ms bare Win32 window, %5d ms drovak.exe\n' "$n" "$b" "$d"
done

median() { # COLUMN-EXPRESSION
    awk "{ print $1 }" "$results" | sort -g | awk '{ v[NR] = $1 } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
printf 'Windows start to first paint under Wine: %.2fx a bare Win32 window (%d vs %d ms, medians of %d rounds) (goal <= 1.2x)\n' \
    "$(median '$2 / $1')" "$(median '$2')" "$(median '$1')" "$rounds"
