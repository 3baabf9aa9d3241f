# What every end-to-end driver shares. A driver sources it after reading its arguments, with
# `label` naming it in failures. It gets a scratch folder `work`, removed at exit with the
# program in `pid` ended and, under Wine, the prefix's server stopped; and the small steps
# every driver takes on the virtual display.
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
title="F-22 Raptor Drovak"
pid=""
work=$(mktemp -d)

cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A driver may define on_failure to leave more behind (a screenshot, a log); a failure inside
# it ends the run all the same.
fail() {
    echo "FAIL [$label]: $*" >&2
    if [ -z "${failing:-}" ] && declare -F on_failure >/dev/null; then
        failing=1
        on_failure
    fi
    exit 1
}

wait_for() { # DESCRIPTION COMMAND...: until the command succeeds, for ten seconds
    local what=$1
    shift
    for ((i = 0; i < 100; i++)); do
        "$@" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "$what"
}

# The first visible window of that exact name at least MINWIDTH wide (the splash carries the
# main window's name).
find_window() { # NAME [MINWIDTH]
    local id width
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        width=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | sed -n 's/^WIDTH=//p')
        if [ -n "$width" ] && [ "$width" -ge "${2:-1}" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

wait_window() { # NAME [MINWIDTH] [TENTHS]: prints the window's id
    local limit=${3:-600} id
    for ((i = 0; i < limit; i++)); do
        id=$(find_window "$1" "${2:-1}") && {
            echo "$id"
            return 0
        }
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            fail "the program ended while waiting for the window '$1'"
        fi
        sleep 0.1
    done
    fail "no window '$1' appeared"
}

wait_gone() { # NAME [TENTHS]
    local limit=${2:-100}
    for ((i = 0; i < limit; i++)); do
        find_window "$1" >/dev/null || return 0
        sleep 0.1
    done
    fail "the window '$1' did not close"
}

geometry() { # ID: sets X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
}

focus() { # ID: there is no window manager to give the keyboard focus
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.2
}

click_at() { # SCREEN_X SCREEN_Y [BUTTON]
    # No --sync: it waits for a move that never comes when the pointer is already there.
    xdotool mousemove "$1" "$2" sleep 0.1 click "${3:-1}"
    sleep "${click_pause:-0.2}"
}

keys() {
    xdotool key --delay 60 "$@"
}

type_text() {
    xdotool type --delay 30 "$1"
}

xwd_png() { # WINDOW-ID|root PNG: a picture of one window or of the whole screen
    local dump=$work/shot.xwd where=(-id "$1")
    [ "$1" = root ] && where=(-root)
    for _ in 1 2 3; do
        xwd "${where[@]}" -silent -out "$dump" && break
        sleep 0.2
    done
    "$python" "$here/../e2e/xwd2png.py" "$dump" "$2"
}

ini_set() { # KEY VALUE: one line of the program's drovak.ini, its CR LF kept
    sed -i "s|^$1 = .*\r\$|$1 = $2\r|" "$program/drovak.ini"
    grep -q "^$1 = $2"$'\r'"\$" "$program/drovak.ini" || fail "could not set $1"
}

holds() { # FILE ORIGINAL FIELD=VALUE...: the pilot is the original with those fields changed
    "$python" "$here/../e2e_app/savcheck.py" "$@"
}

# A Wine prefix of the driver's own: a Wine session another test started would show no
# windows here.
wine_prefix() {
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wineboot -i >/dev/null 2>&1
}

windows_path() { winepath -w "$1" 2>/dev/null; }
