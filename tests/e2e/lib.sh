# Sourced by every end-to-end driver, `label` set: a scratch `work`, removed at exit with the
# program in `pid` and the helpers in `helpers` ended (and Wine's server stopped).
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
title="F-22 Raptor Drovak"
pid=""
work=$(mktemp -d)

cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    [ -n "${helpers:-}" ] && kill $helpers 2>/dev/null
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() { # a driver's on_failure may leave more behind; a failure inside it ends the run too
    echo "FAIL [$label]: $*" >&2
    if [ -z "${failing:-}" ] && declare -F on_failure >/dev/null; then
        failing=1
        on_failure
    fi
    exit 1
}

wait_for() { # DESCRIPTION COMMAND...: until the command succeeds, for ten seconds (or $tenths)
    local what=$1 && shift
    for ((i = 0; i < ${tenths:-100}; i++)); do
        "$@" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "$what"
}

find_window() { # NAME [MINWIDTH]: the first visible one (the splash carries the main's name)
    local id width
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        width=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | sed -n 's/^WIDTH=//p')
        [ -n "$width" ] && [ "$width" -ge "${2:-1}" ] && echo "$id" && return 0
    done
    return 1
}

wait_window() { # NAME [MINWIDTH] [TENTHS]: prints the window's id
    for ((i = 0; i < ${3:-600}; i++)); do
        find_window "$1" "${2:-1}" && return 0
        [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null && fail "the program ended, no window '$1'"
        sleep 0.1
    done
    fail "no window '$1' appeared"
}

no_window() { ! find_window "$1" >/dev/null; }
wait_gone() { wait_for "the window '$1' did not close" no_window "$1"; }

geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; } # ID: sets X Y WIDTH HEIGHT

# ID: there is no window manager to give the keyboard focus
focus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; sleep 0.2; }
# SCREEN_X SCREEN_Y [BUTTON]; no --sync, which waits for a move that never comes
click_at() { xdotool mousemove "$1" "$2" sleep 0.1 click "${3:-1}"; sleep "${click_pause:-0.2}"; }

keys() { xdotool key --delay 60 "$@"; }

ended() { ! kill -0 "$pid"; }
expect_exit() { # the program ends, with status 0 and no error reported
    local status=0
    wait_for "the program did not end" ended
    wait "$pid" || status=$?
    pid=""
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
    ! grep -qE 'runtime error|AddressSanitizer|wx assertion|Gtk-CRITICAL' "$errlog" ||
        fail "the program reported an error"
}

xwd_png() { # WINDOW-ID|root PNG: a picture of one window or of the whole screen
    local dump=$work/shot.xwd where=(-id "$1")
    [ "$1" = root ] && where=(-root)
    for _ in 1 2 3; do xwd "${where[@]}" -silent -out "$dump" && break || sleep 0.2; done
    xtool png "$dump" "$2"
}

xtool() { "$python" "$here/../e2e/xtool.py" "$@"; } # see there

ini_set() { # KEY VALUE: one line of the program's drovak.ini, its CR LF kept
    sed -i "s|^$1 = .*\r\$|$1 = $2\r|" "$program/drovak.ini"
    grep -q "^$1 = $2"$'\r'"\$" "$program/drovak.ini" || fail "could not set $1"
}

holds() { xtool holds "$@"; } # FILE ORIGINAL FIELD=VALUE...: the original with those fields changed

wine_prefix() { # one of the driver's own: a Wine session another test started shows no windows
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wineboot -i >/dev/null 2>&1
}

windows_path() { winepath -w "$1" 2>/dev/null; }
