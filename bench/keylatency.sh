#!/usr/bin/env bash
# Key-to-screen latency of the callsign field beside a GTK entry, measured from outside as a
# user meets it (bench/keylatency.py): a letter typed at the field's start and its BackSpace,
# on a quiet machine and with two busy loops on it. The entry sits where the callsign does in
# the bare frame (bench/bareframe.cpp under DROVAK_BARE_ENTRY). Figures, not a test.
#
#   keylatency.sh BUILD_DIR [ROUNDS]
set -uo pipefail

build=$(cd "$1" && pwd)
rounds=${2:-200}
drovak=$build/bin/drovak
bare=$build/bench/drovak_bare_frame
make_demo=$build/tools/demo/drovak_make_demo
here=$(cd "$(dirname "$0")" && pwd)
assets=$here/../assets
python=/usr/bin/python3
if [ -z "${DROVAK_LATENCY_INNER:-}" ]; then
    DROVAK_LATENCY_INNER=1 exec timeout 900 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d)
child=""
loops=()
cleanup() {
    [ -n "$child" ] && kill "$child" 2>/dev/null
    for l in "${loops[@]}"; do kill "$l" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
# No blinking caret in the entry: its blink would count as the key's change.
mkdir -p "$work/config/gtk-3.0"
printf '[Settings]\ngtk-cursor-blink = false\n' >"$work/config/gtk-3.0/settings.ini"
export XDG_CONFIG_HOME=$work/config

program=$work/program
mkdir -p "$program"
(cd "$(dirname "$drovak")" && find . -mindepth 1 -maxdepth 1 ! -name drovak ! -name drovak.ini \
    -exec cp -r {} "$program/" \;)
cp "$drovak" "$program/drovak"
cp "$assets/drovak.ini" "$program/drovak.ini"
"$make_demo" "$program/template.sav" "$work/demo" "$program" >/dev/null
sed -i 's/^soundOn = 1\r$/soundOn = 0\r/; s/^showSplashScreen = 1\r$/showSplashScreen = 0\r/;
        s/^lastLoadedFile = .*\r$/lastLoadedFile = ghost.sav\r/' "$program/drovak.ini"

window_of() { # NAME: the window's id once it is shown
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Starts NAME's program, clicks into the field at client x 360 and moves to its start, then
# measures: prints the figures.
measure() { # WINDOW-NAME COMMAND...
    local name=$1 id
    shift
    "$@" 2>/dev/null &
    child=$!
    id=$(window_of "$name") || { echo "no window $name"; return 1; }
    sleep 1
    xdotool windowfocus --sync "$id" 2>/dev/null
    eval "$(xdotool getwindowgeometry --shell "$id")"
    # The client area is below the menu bar; keylatency.py finds it the same way.
    xdotool mousemove $((X + 370)) $((Y + 60)) click 1
    sleep 0.3
    xdotool mousemove $((X + 370)) $((Y + 60)) click 1 key Home
    sleep 0.5
    "$python" "$here/keylatency.py" "$id" 358 12 54 24 "$rounds"
    kill "$child" 2>/dev/null
    wait "$child" 2>/dev/null
    child=""
}

for load in quiet loaded; do
    if [ "$load" = loaded ]; then
        for _ in 1 2; do
            (while :; do :; done) &
            loops+=($!)
        done
    fi
    printf 'key to screen, %s, GTK entry: ' "$load"
    measure "Bare frame" env DROVAK_BARE_ENTRY=1 "$bare"
    printf 'key to screen, %s, callsign:  ' "$load"
    measure "F-22 Raptor Drovak" "$program/drovak"
done
