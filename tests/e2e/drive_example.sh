#!/usr/bin/env bash
# drive_example.sh EXAMPLE SCENARIO OUTDIR, in xvfb-run: drives the toolkit example with real
# events and waits for the messages it logs to OUTDIR/SCENARIO.log; each ends with File > Exit.
set -uo pipefail
example=$1 scenario=$2 outdir=$3 label=$2
. "$(dirname "$0")/lib.sh"
mkdir -p "$outdir"
log=$outdir/$scenario.log errlog=$outdir/$scenario.stderr
title="Drovak toolkit example"

on_failure() {
    cp "$log" "$log.failed" 2>/dev/null # kept when a later run writes the log again
    echo "--- event log:" >&2 && cat "$log" >&2 2>/dev/null
    echo "--- example's standard error:" >&2 && grep -v '^ALSA lib' "$errlog" >&2 2>/dev/null
}

wait_log() { tenths=${2:-100} wait_for "no line '$1' arrived" grep -qE "$1" "$log"; } # ERE [TENTHS]
logs() { local line=$1 && shift && "$@"; wait_log "$line" 50; } # ERE COMMAND...: then that line

lines_after() { # PATTERN: the log's lines after the last one matching it
    awk -v p="$1" '$0 ~ p { n = NR } { line[NR] = $0 } END { for (i = n + 1; i <= NR; i++) print line[i] }' "$log"
}

refute() { ! grep -qE "$1" "$log" || fail "unexpected line '$1': $2"; }

last() { awk -v n="$1" -v i="$2" '$1 == n { v = $(i + 1) } END { print v }' "$log"; } # NAME I

focus_frame() { focus "$(wait_window "$title")"; }

start() { # [ARGS...]: the example, ready and holding the keyboard unless a splash is asked for
    rm -f "$log"
    "$example" --e2e-log "$log" "$@" 2>"$errlog" & pid=$!
    [ $# -gt 0 ] || { wait_log '^ready$' && focus_frame; }
}

enables_past() { [ "$(grep -c '^enable 107 ' "$log")" -gt "$1" ]; }
open_menu() { # COMMAND...: opens a menu (alt+f, a right click), which asks Delete's enabling
    local before=$(grep -c '^enable 107 ' "$log")
    "$@"
    wait_for "the menu did not open: $*" enables_past "$before"
    sleep 0.3 # and is on screen, holding the keyboard
}

file_menu() { focus_frame; open_menu keys alt+f; }
finish() { file_menu; keys x; wait_log '^exit 0$'; expect_exit; }

area() { echo $(($(last area 1) + $1)) $(($(last area 2) + $2)); } # screen point of X Y in it
in_list() { echo $(($(last list 1) + $1)) $(($(last list 2) + $2)); }
centre_of() { awk -v n="$1" '$1 == n { x = $2 + int($4 / 2); y = $3 + int($5 / 2) } END { print x, y }' "$log"; }
select_row() { logs '^select 1 [0-9]+$' click_at $(in_list 120 50); INDEX=$(last select 2); } # 2nd row

case "$scenario" in
click)
    # Clicks in client coordinates; the list's header, click, Control+click; virtual-key codes.
    start
    wait_log '^cursor 1$' 1 # the area's own cursor was loaded from the resources
    for p in "40 120" "200 30"; do logs "^click $p\$" click_at $(area $p); done
    logs '^column 1$' click_at $(in_list 200 10)
    logs '^select 1 0$' click_at $(in_list 120 50)
    logs '^select 2 0$' xdotool mousemove $(in_list 120 130) sleep 0.1 keydown ctrl click 1 keyup ctrl
    logs '^click 100 150$' click_at $(area 100 150)
    for k in "a 65" "shift+1 49" "minus 189" "Caps_Lock 20" "Caps_Lock 20"; do # lock as it was
        logs "^key-up ${k#* }\$" keys ${k% *}
    done
    after=$(lines_after '^click 100 150$' | grep '^key-down' | tr '\n' ' ')
    [ "$after" = "key-down 65 key-down 16 key-down 49 key-down 189 key-down 20 key-down 20 " ] ||
        fail "key codes in order: got '$after'"
    finish
    ;;
label)
    # No Paste from an empty clipboard, what Copy put there read back; a label edited in place.
    start
    select_row
    keys ctrl+v
    sleep 0.5
    refute '^command 204' "Paste ran with nothing on the clipboard"
    logs '^command 203$' keys ctrl+c
    logs "^command 204 Pilot $(printf %05d "$INDEX")\$" keys ctrl+v
    logs '^list-key 113$' keys F2
    sleep 0.5
    keys ctrl+a
    xdotool type --delay 40 "Ace Rimmer"
    logs "^label $INDEX Ace Rimmer\$" keys Return
    finish
    ;;
menu)
    # A refused command is greyed in both menus and does not run, then runs; a dialog resource.
    start
    open_menu click_at $(area 60 160) 3
    wait_log '^enable 107 0$' 1
    keys d # Delete: greyed while nothing is selected
    sleep 0.3
    logs '^popup-closed 0$' keys Escape
    open_menu keys alt+f
    keys d
    sleep 0.3
    keys Escape
    sleep 0.3
    refute '^command 107$' "Delete ran with nothing selected"
    select_row
    file_menu
    wait_log '^enable 107 1$' 1
    logs '^command 107$' keys d
    select_row
    open_menu click_at $(area 60 160) 3
    logs '^popup-closed 1$' keys d
    [ "$(grep -c '^command 107$' "$log")" -eq 2 ] || fail "Delete from the pop-up menu did not run"
    file_menu
    logs '^dialog-open$' keys t
    sleep 0.5
    logs '^bn-clicked 115 0$' click_at $(centre_of sound)
    click_at $(centre_of template)
    sleep 0.2
    keys End x
    sleep 0.3
    ! lines_after '^dialog-open$' | grep -q '^en-update 106$' || fail "a read-only edit took typing"
    click_at $(centre_of path)
    sleep 0.2
    keys ctrl+a
    logs '^en-update 101$' xdotool type --delay 40 'D:\Games'
    logs '^dialog 1 0 D:\\Games\|raptor.sav$' click_at $(centre_of ok)
    finish
    ;;
splash)
    # The splash closes after its time-out, or at once on a click anywhere (it holds the mouse).
    start --splash 800
    wait_log '^splash-open$'
    wait_log '^splash-closed$'
    wait_log '^ready$'
    refute '^splash-click' "nobody clicked"
    finish
    log=$outdir/$scenario-click.log
    start --splash 60000
    wait_log '^splash-painted$' # on screen, and so holding the mouse
    for _ in 1 2 3; do
        click_at 5 5
        sleep 1
        grep -qE '^splash-click -?[0-9]+ -?[0-9]+$' "$log" && break
    done
    wait_log '^splash-click -?[0-9]+ -?[0-9]+$' 10
    wait_log '^splash-closed$' 20
    wait_log '^ready$'
    finish
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS [$scenario]"
