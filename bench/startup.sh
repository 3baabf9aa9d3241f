#!/usr/bin/env bash
# Start-up figures of the real program against a bare wx frame (bench/bareframe.cpp: the
# main window's size, a menu bar and a report list, nothing drawn): the time from launch to
# the first paint, and the peak memory of the process up to then. Each round starts the bare
# frame, then the program on a fresh copy of its folder with the demo set-up (no splash, no
# sound), and the program on a SAV folder of 10,000 files, in turns; all on a virtual display,
# all launched the same way and timed by the "first paint N" line they print under
# DROVAK_REPORT_FIRST_PAINT. The ratios are medians over the rounds of each round's ratio.
#
#   startup.sh BUILD_DIR [ROUNDS]
#
# BUILD_DIR holds bin/drovak (with its files), bench/drovak_bare_frame and
# tools/demo/drovak_make_demo.
set -uo pipefail

build=$(cd "$1" && pwd)
rounds=${2:-9}
drovak=$build/bin/drovak
bare=$build/bench/drovak_bare_frame
make_demo=$build/tools/demo/drovak_make_demo
assets=$(cd "$(dirname "$0")/../assets" && pwd)
big_count=10000

for needed in "$drovak" "$bare" "$make_demo"; do
    if [ ! -x "$needed" ]; then
        echo "startup: no $needed (it needs DROVAK_GUI and DROVAK_BENCH)" >&2
        exit 1
    fi
done
if [ -z "${DROVAK_STARTUP_INNER:-}" ]; then
    DROVAK_STARTUP_INNER=1 exec timeout 900 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
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

# A SAV folder of many pilots, made once: copies of the template under numbered names, and
# the demo's pilots (the one shown at start among them) as each run adds them.
big=$work/big-sav
mkdir -p "$big"
python3 - "$assets/template.sav" "$big" "$big_count" <<'EOF'
import sys
template, folder, count = open(sys.argv[1], "rb").read(), sys.argv[2], int(sys.argv[3])
for i in range(count):
    with open(f"{folder}/Pilot {i:05d}.sav", "wb") as f:
        f.write(template)
EOF

# A fresh program folder with the demo set-up for run N; SAV_FOLDER replaces the demo's.
make_program() { # N [SAV_FOLDER]
    local program=$work/run$1/program
    mkdir -p "$program"
    (cd "$(dirname "$drovak")" && find . -mindepth 1 -maxdepth 1 ! -name drovak ! -name drovak.ini \
        -exec cp -r {} "$program/" \;)
    ln "$drovak" "$program/drovak" 2>/dev/null || cp "$drovak" "$program/drovak"
    cp "$assets/drovak.ini" "$program/drovak.ini"
    "$make_demo" "$program/template.sav" "$work/run$1/demo" "$program" >/dev/null || return 1
    sed -i 's/^soundOn = 1\r$/soundOn = 0\r/; s/^showSplashScreen = 1\r$/showSplashScreen = 0\r/' \
        "$program/drovak.ini"
    if [ -n "${2:-}" ]; then
        cp "$work/run$1/demo/pilots/"*.sav "$2/"
        sed -i "s|^savPath = .*\r\$|savPath = $2/\r|" "$program/drovak.ini"
    fi
    echo "$program"
}

# Starts EXECUTABLE in its own folder, waits for its first paint and ends it with whatever it
# started (the program's mail check may still run), so nothing is left to slow the next run:
# prints "MS KB".
one_run() { # NAME EXECUTABLE
    local err=$work/$1.stderr usage=$work/$1.usage start painted="" timer
    start=$(ms_now)
    (cd "$(dirname "$2")" && DROVAK_REPORT_FIRST_PAINT=1 exec setsid /usr/bin/time -v -o "$usage" "$2") \
        2>"$err" &
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
    kill -- -"$timer" 2>/dev/null
    for ((i = 0; i < 100; i++)); do
        pgrep -g "$timer" >/dev/null || break
        sleep 0.05
    done
    kill -KILL -- -"$timer" 2>/dev/null
    child=""
    if [ -z "$painted" ]; then
        echo "startup: $1 never painted" >&2
        grep -v '^ALSA lib' "$err" >&2
        return 1
    fi
    echo "$((painted - start)) $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$usage")"
}

results=$work/results
for ((n = 1; n <= rounds; n++)); do
    demo=$(make_program "$n-demo") || exit 1
    many=$(make_program "$n-many" "$big") || exit 1
    sync # the copies' write-back is not the runs' to pay
    # Each round starts with the next of the three, so none always runs first.
    for ((k = 0; k < 3; k++)); do
        case $(((n + k) % 3)) in
        0) b=$(one_run "bare$n" "$bare") || exit 1 ;;
        1) d=$(one_run "demo$n" "$demo/drovak") || exit 1 ;;
        2) m=$(one_run "many$n" "$many/drovak") || exit 1 ;;
        esac
    done
    echo "$b $d $m" >>"$results"
    printf 'round %d: first paint %5d ms bare frame, %5d ms drovak, %5d ms drovak with %d files;' \
        "$n" "${b% *}" "${d% *}" "${m% *}" "$big_count"
    printf ' peak memory %.1f / %.1f / %.1f MiB\n' "$(awk -v kb="${b#* }" 'BEGIN { print kb / 1024 }')" \
        "$(awk -v kb="${d#* }" 'BEGIN { print kb / 1024 }')" \
        "$(awk -v kb="${m#* }" 'BEGIN { print kb / 1024 }')"
done

# Columns: bare ms, bare KB, demo ms, demo KB, many ms, many KB.
median() { # COLUMN-EXPRESSION: the median of that awk expression over the rounds
    awk "{ print $1 }" "$results" | sort -g | awk '{ v[NR] = $1 } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
printf 'start to first paint: %.2fx a bare wx frame (%d vs %d ms, medians of %d rounds) (goal <= 1.2x)\n' \
    "$(median '$3 / $1')" "$(median '$3')" "$(median '$1')" "$rounds"
printf 'start to first paint, %d files: %.2fx a bare wx frame (%d vs %d ms) (goal <= 1.2x)\n' \
    "$big_count" "$(median '$5 / $1')" "$(median '$5')" "$(median '$1')"
printf 'peak RSS: %.2fx a bare wx frame (%.1f vs %.1f MiB; %.2fx with %d files) (goal <= 1.2x)\n' \
    "$(median '$4 / $2')" "$(median '$4 / 1024')" "$(median '$2 / 1024')" "$(median '$6 / $2')" \
    "$big_count"
