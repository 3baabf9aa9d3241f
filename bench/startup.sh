#!/usr/bin/env bash
# Start-up figures of the real program: the time from launch to the main window's first
# paint, and the peak memory of the process up to then. Each run starts the program on a
# fresh copy of its folder with the demo set-up (no splash, no sound) on a virtual display.
#
#   startup.sh BUILD_DIR [RUNS]
#
# BUILD_DIR holds bin/drovak (with its files) and tools/demo/drovak_make_demo.
set -uo pipefail

build=$(cd "$1" && pwd)
runs=${2:-5}
drovak=$build/bin/drovak
make_demo=$build/tools/demo/drovak_make_demo
assets=$(cd "$(dirname "$0")/../assets" && pwd)

if [ ! -x "$drovak" ] || [ ! -x "$make_demo" ]; then
    echo "startup: no program in $build (it needs DROVAK_GUI)" >&2
    exit 1
fi
if [ -z "${DROVAK_STARTUP_INNER:-}" ]; then
    DROVAK_STARTUP_INNER=1 exec timeout 600 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d)
child=""
cleanup() {
    [ -n "$child" ] && kill "$child" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ms_now() {
    date +%s%3N
}

one_run() { # N: prints "MS KB"
    local program=$work/run$1/program
    mkdir -p "$program"
    (cd "$(dirname "$drovak")" && find . -mindepth 1 -maxdepth 1 ! -name drovak ! -name drovak.ini \
        -exec cp -r {} "$program/" \;)
    ln "$drovak" "$program/drovak" 2>/dev/null || cp "$drovak" "$program/drovak"
    cp "$assets/drovak.ini" "$program/drovak.ini"
    "$make_demo" "$program/template.sav" "$work/run$1/demo" "$program" >/dev/null || return 1
    sed -i 's/^soundOn = 1\r$/soundOn = 0\r/; s/^showSplashScreen = 1\r$/showSplashScreen = 0\r/' \
        "$program/drovak.ini"

    local err=$work/run$1/stderr usage=$work/run$1/usage start painted="" timer
    start=$(ms_now)
    DROVAK_REPORT_FIRST_PAINT=1 /usr/bin/time -v -o "$usage" "$program/drovak" 2>"$err" &
    timer=$!
    for ((i = 0; i < 600; i++)); do
        painted=$(sed -n 's/^first paint \([0-9]*\)$/\1/p' "$err" | head -n 1)
        [ -n "$painted" ] && break
        kill -0 "$timer" 2>/dev/null || break
        sleep 0.05
    done
    child=$(pgrep -P "$timer" | head -n 1)
    [ -n "$child" ] && kill "$child" 2>/dev/null
    wait "$timer" 2>/dev/null
    child=""
    if [ -z "$painted" ]; then
        echo "startup: run $1 never painted" >&2
        grep -v '^ALSA lib' "$err" >&2
        return 1
    fi
    echo "$((painted - start)) $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$usage")"
}

results=()
for ((n = 1; n <= runs; n++)); do
    line=$(one_run "$n") || exit 1
    results+=("$line")
    printf 'run %d: first paint %5d ms, peak memory %6.1f MiB\n' "$n" "${line% *}" \
        "$(awk -v kb="${line#* }" 'BEGIN { print kb / 1024 }')"
done
printf '%s\n' "${results[@]}" | sort -n | awk '
    { ms[NR] = $1; kb[NR] = $2; if ($2 > peak) peak = $2 }
    END {
        printf "startup (%d runs): first paint median %d ms, min %d ms, max %d ms; peak memory max %.1f MiB\n",
            NR, ms[int((NR + 1) / 2)], ms[1], ms[NR], peak / 1024
    }'
