#!/usr/bin/env bash
# Drives the toolkit example on a virtual display with real mouse and key events and checks
# what reached it. Runs inside xvfb-run:
#
#   drive_example.sh EXAMPLE SCENARIO OUTDIR
#
# The example writes every message it receives to OUTDIR/SCENARIO.log; each scenario sends
# its events, waits for the lines they must cause and fails on the first one missing. Every
# scenario ends by choosing File > Exit and checks that the example ended cleanly.
set -uo pipefail

example=$1
scenario=$2
outdir=$3
label=$scenario
. "$(dirname "$0")/lib.sh"
mkdir -p "$outdir"
log=$outdir/$scenario.log
errlog=$outdir/$scenario.stderr
rm -f "$log" "$errlog"
title="Drovak toolkit example"

on_failure() {
    cp "$log" "$log.failed" 2>/dev/null # kept when a later run writes the log again
    echo "--- event log:" >&2
    cat "$log" >&2 2>/dev/null
    echo "--- example's standard error:" >&2
    grep -v '^ALSA lib' "$errlog" >&2 2>/dev/null
}

# Waits until a line matching the pattern is in the log (extended regular expression).
wait_log() {
    local pattern=$1 limit=${2:-100} # tenths of a second
    for ((i = 0; i < limit; i++)); do
        grep -qE "$pattern" "$log" 2>/dev/null && return 0
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            fail "the example ended while waiting for '$pattern'"
        fi
        sleep 0.1
    done
    fail "no line '$pattern' arrived"
}

# The log lines after the last one that matches a pattern.
lines_after() {
    awk -v p="$1" '$0 ~ p { n = NR } { line[NR] = $0 } END { for (i = n + 1; i <= NR; i++) print line[i] }' "$log"
}

# Fails when a line matching the pattern is in the log.
refute() {
    if grep -qE "$1" "$log"; then
        fail "unexpected line '$1': $2"
    fi
}

field() { # field NAME INDEX: a number from the log line "NAME a b c d"
    awk -v n="$1" -v i="$2" '$1 == n { v = $(i + 1) } END { print v }' "$log"
}

# Sends the keyboard focus to the example's frame (there is no window manager to do it).
focus_frame() {
    local window
    window=$(xdotool search --sync --limit 1 --name "^$title\$") || fail "no window named '$title'"
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 0.2
}

start() {
    "$example" --e2e-log "$log" "$@" 2>"$errlog" &
    pid=$!
}

# Opens a menu (by its key: alt+f, or a right click through the given command) and waits until
# it asked the enabling handler of Delete, which it does as it opens.
open_menu() {
    local before
    before=$(grep -c '^enable 107 ' "$log")
    "$@"
    for ((i = 0; i < 100; i++)); do
        [ "$(grep -c '^enable 107 ' "$log")" -gt "$before" ] && break
        sleep 0.1
    done
    [ "$i" -lt 100 ] || fail "the menu did not open: $*"
    sleep 0.3 # and is on screen, holding the keyboard
}

# Chooses File > Exit by its mnemonics and checks that the example ended with status 0.
finish() {
    focus_frame
    open_menu keys alt+f
    keys x
    wait_log '^exit 0$' 100
    local status=0
    wait "$pid" || status=$?
    pid=""
    [ "$status" -eq 0 ] || fail "the example ended with status $status"
    if grep -qE 'runtime error|AddressSanitizer|wx assertion' "$errlog"; then
        fail "the example reported an error"
    fi
}

screenshot() { # PNG [TITLE]: a window's picture, as PNG
    local window
    window=$(find_window "${2:-$title}") || fail "no window to take a picture of"
    xwd_png "$window" "$1" || fail "could not write the screenshot"
}

centre_of() { # screen point of the middle of a control whose place the log gave
    awk -v n="$1" '$1 == n { x = $2 + int($4 / 2); y = $3 + int($5 / 2) } END { print x, y }' "$log"
}

area_point() { # screen point of a client point of the glyph area
    echo $(($(field area 1) + $1)) $(($(field area 2) + $2))
}

list_point() { # screen point of a client point of the list
    echo $(($(field list 1) + $1)) $(($(field list 2) + $2))
}

case "$scenario" in
click)
    # A click at a point of the custom-drawn area arrives in its client coordinates.
    start
    wait_log '^ready$'
    wait_log '^cursor 1$' 1 # the area's own cursor was loaded from the resources
    focus_frame
    for p in "40 120" "200 30"; do
        click_at $(area_point $p)
        wait_log "^click $p\$" 50
    done
    # The list: a header click, a click and a Control+click select two rows.
    click_at $(list_point 200 10)
    wait_log '^column 1$' 50
    click_at $(list_point 120 50)
    wait_log '^select 1 0$' 50
    xdotool mousemove $(list_point 120 130) sleep 0.1 keydown ctrl click 1 keyup ctrl
    wait_log '^select 2 0$' 50
    finish
    ;;
keys)
    # Keys arrive as Windows virtual-key codes: A, Shift+1, minus, Caps Lock.
    start
    wait_log '^ready$'
    focus_frame
    click_at $(area_point 100 150)
    wait_log '^click 100 150$' 50
    keys a
    wait_log '^key-up 65$' 50
    keys shift+1
    wait_log '^key-up 49$' 50
    keys minus
    wait_log '^key-up 189$' 50
    keys Caps_Lock
    wait_log '^key-down 20$' 50
    keys Caps_Lock # leave the lock as it was
    wait_log '^key-up 20$' 50
    after=$(lines_after '^click 100 150$' | grep '^key-down' | tr '\n' ' ')
    [ "$after" = "key-down 65 key-down 16 key-down 49 key-down 189 key-down 20 key-down 20 " ] ||
        fail "key codes in order: got '$after'"
    finish
    ;;
label)
    # A label edited in place reaches the list's parent, which renames the row; the
    # screenshot shows the renamed row selected at its sorted place.
    start
    wait_log '^ready$'
    focus_frame
    click_at $(list_point 120 50)
    wait_log '^select 1 [0-9]+$' 50
    index=$(awk '$1 == "select" { v = $3 } END { print v }' "$log")
    keys F2
    wait_log '^list-key 113$' 50
    sleep 0.5
    keys ctrl+a
    xdotool type --delay 40 "Ace Rimmer"
    keys Return
    wait_log "^label $index Ace Rimmer\$" 50
    sleep 0.5
    screenshot "$outdir/example.png"
    finish
    ;;
menu)
    # A command whose enabling handler says no is greyed in the menu bar and in the pop-up
    # menu and does not run; once the handler says yes it runs.
    start
    wait_log '^ready$'
    focus_frame
    open_menu click_at $(area_point 60 160) 3
    wait_log '^enable 107 0$' 1
    keys d # Delete: greyed while nothing is selected
    sleep 0.3
    keys Escape
    wait_log '^popup-closed 0$' 50
    open_menu keys alt+f
    keys d
    sleep 0.3
    keys Escape
    sleep 0.3
    refute '^command 107$' "Delete ran with nothing selected"
    click_at $(list_point 120 50)
    wait_log '^select 1 [0-9]+$' 50
    focus_frame
    open_menu keys alt+f
    wait_log '^enable 107 1$' 1
    keys d
    wait_log '^command 107$' 50
    click_at $(list_point 120 50)
    wait_log '^select 1 [0-9]+$' 50
    open_menu click_at $(area_point 60 160) 3
    keys d
    wait_log '^popup-closed 1$' 50
    [ "$(grep -c '^command 107$' "$log")" -eq 2 ] || fail "Delete from the pop-up menu did not run"
    finish
    ;;
clipboard)
    # The accelerators run commands, unless the command's enabling handler says no: Paste
    # with nothing on the clipboard does not run. What Copy puts there, Paste reads back.
    start
    wait_log '^ready$'
    focus_frame
    click_at $(list_point 120 50)
    wait_log '^select 1 [0-9]+$' 50
    index=$(awk '$1 == "select" { v = $3 } END { print v }' "$log")
    keys ctrl+v
    sleep 0.5
    refute '^command 204' "Paste ran with nothing on the clipboard"
    keys ctrl+c
    wait_log '^command 203$' 50
    keys ctrl+v
    wait_log "^command 204 Pilot $(printf %05d "$index")\$" 50
    finish
    ;;
dialog)
    # The settings dialog built from its resource: typing in an edit notifies its update, a
    # read-only edit takes no typing, a click toggles the auto check box and notifies, OK
    # closes with IDOK and the controls keep what they showed.
    start
    wait_log '^ready$'
    focus_frame
    open_menu keys alt+f
    keys t
    wait_log '^dialog-open$' 50
    sleep 0.5
    click_at $(centre_of sound)
    wait_log '^bn-clicked 115 0$' 50
    click_at $(centre_of template)
    sleep 0.2
    keys End
    xdotool type --delay 40 "x"
    sleep 0.3
    if lines_after '^dialog-open$' | grep -q '^en-update 106$'; then
        fail "a read-only edit took typing"
    fi
    click_at $(centre_of path)
    sleep 0.2
    keys ctrl+a
    xdotool type --delay 40 'D:\Games'
    wait_log '^en-update 101$' 50
    screenshot "$outdir/dialog.png" "Drovak Settings"
    click_at $(centre_of ok)
    wait_log '^dialog 1 0 D:\\Games\|raptor.sav$' 50
    finish
    ;;
splash)
    # The splash shows over the example and closes itself after its time-out.
    start --splash 800
    wait_log '^splash-open$'
    wait_log '^splash-closed$' 100
    wait_log '^ready$'
    refute '^splash-click' "nobody clicked"
    finish
    ;;
splash_click)
    # The splash captures the mouse: a click far outside it reaches it and closes it long
    # before its time-out.
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
