#!/usr/bin/env bash
# Drives the real program on a virtual display with real mouse and key events and checks the
# files it leaves behind. Runs inside xvfb-run:
#
#   drive_app.sh DROVAK MAKE_DEMO SCENARIO OUTDIR
#
# Every scenario runs a private copy of the program folder (the program takes the folder its
# executable really lives in), so the build tree's own settings are never touched. Clicks
# go to client points of the main window, whose corner is read off a screenshot; the list's
# rows are found the same way. Screenshots land in OUTDIR as PNG.
set -uo pipefail

drovak=$1
make_demo=$2
scenario=$3
outdir=$4
label=$scenario
. "$(dirname "$0")/../e2e/lib.sh"
assets=$here/../../assets
mkdir -p "$outdir"
errlog=$outdir/$scenario.stderr
rm -f "$errlog" "$outdir/$scenario"-*.png
program=$work/program
pilots=$work/demo/pilots
# The backups of the game's pilot and the trash stay in the scenario's own folder.
export XDG_DATA_HOME=$work/data

on_failure() {
    echo "--- program's standard error:" >&2
    grep -v '^ALSA lib' "$errlog" >&2 2>/dev/null
    local id
    id=$(find_window "$title" 600) && shoot "$id" "$outdir/$scenario-failed.png" 2>/dev/null
}

# A fresh program folder: the executable (a hard link where the file system allows one), the
# shipped files next to it and the shipped settings file as it comes out of the box.
make_program_folder() {
    mkdir -p "$program"
    local bin
    bin=$(dirname "$drovak")
    (cd "$bin" && find . -mindepth 1 -maxdepth 1 ! -name drovak ! -name drovak.ini \
        -exec cp -r {} "$program/" \;) || fail "cannot copy the program folder"
    ln "$drovak" "$program/drovak" 2>/dev/null || cp "$drovak" "$program/drovak" ||
        fail "cannot copy the program"
    cp "$assets/drovak.ini" "$program/drovak.ini" || fail "no shipped settings file"
}

ini_expect() { # KEY VALUE
    local line
    line=$(grep "^$1 = " "${ini:-$program/drovak.ini}" | tr -d '\r')
    [ "$line" = "$1 = $2" ] || fail "drovak.ini: '$line', expected '$1 = $2'"
}

start() { # [VAR=VALUE...]: the program, from outside its folder
    (cd "$work" && exec env "$@" "${exe:-$program/drovak}") 2>>"$errlog" &
    pid=$!
}

shoot() { # ID PNG
    xwd_png "$1" "$2" || fail "could not write $2"
}

# The main window: its id in MAIN, its client corner on the screen in OX OY, a fresh
# screenshot in SHOT.
main_window() {
    MAIN=$(wait_window "$title" 600) || exit 1
    SHOT=$work/main.png
    local corner=""
    for ((i = 0; i < 50; i++)); do # until it is painted
        shoot "$MAIN" "$SHOT"
        corner=$("$python" "$here/winshot.py" client "$SHOT" 2>/dev/null) && break
        sleep 0.2
    done
    [ -n "$corner" ] || fail "the main window shows no client area"
    geometry "$MAIN"
    CX=${corner% *}
    CY=${corner#* }
    OX=$((X + CX))
    OY=$((Y + CY))
}

# The client y of the middle of each list row shown, from a fresh screenshot.
list_rows() {
    shoot "$MAIN" "$SHOT"
    "$python" "$here/winshot.py" rows "$SHOT" "$CX" "$CY" "${LIST_BOTTOM:-166}"
}

expect_rows() { # COUNT: waits a while for the list to show that many rows
    for ((i = 0; i < 25; i++)); do
        ROWS=($(list_rows))
        [ "${#ROWS[@]}" -eq "$1" ] && return 0
        sleep 0.2
    done
    fail "the list shows ${#ROWS[@]} rows, expected $1"
}

click_client() { # client x, y of the main window
    click_at $((OX + $1)) $((OY + $2))
}

# A dialog control's middle on the screen, from its place in dialog units and the dialog's
# size in pixels and in dialog units (the toolkit scales the resource's layout).
click_dialog() { # ID DLG_W DLG_H X Y W H (dialog units)
    geometry "$1"
    click_at $((X + ($4 * 2 + $6) * WIDTH / ($2 * 2))) $((Y + ($5 * 2 + $7) * HEIGHT / ($3 * 2)))
}

menu() { # KEY: chooses an item of the File menu by its mnemonic
    focus "$MAIN"
    keys alt+f
    sleep 0.4
    keys "$1"
}

menu_exit() { menu x; }

# File > Exit, Yes to saving the changes, and a clean end.
save_and_exit() {
    menu_exit
    local question
    question=$(wait_window Save 1 100) || exit 1
    focus "$question"
    keys Return
    expect_exit
}

# Waits for the program to end and checks that it ended cleanly.
expect_exit() {
    local status=0
    for ((i = 0; i < 100; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end"
    wait "$pid" || status=$?
    pid=""
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
    if grep -qE 'runtime error|AddressSanitizer|wx assertion|Gtk-CRITICAL' "$errlog"; then
        fail "the program reported an error"
    fi
}

# Settings for a scenario that is not about the splash: no splash, no sound.
quiet_settings() {
    ini_set soundOn 0
    ini_set showSplashScreen 0
}

# The demo set-up: a game folder with raptor.sav and four pilots, with the settings that
# point at them.
make_demo_setup() {
    "$make_demo" "$program/template.sav" "$work/demo" "$program" >/dev/null ||
        fail "drovak_make_demo failed"
    cp -r "$work/demo" "$work/original"
}

# The program on the demo set-up, quiet, with PILOT the file last loaded: its main window.
start_on_demo() { # PILOT
    make_program_folder
    make_demo_setup
    quiet_settings
    ini_set lastLoadedFile "$1"
    start
    main_window
}

# Field and palette places of the editor (client coordinates): the callsign field spans
# (353, 8) to (766, 48); the colour swatches run 1 to 9 then 0, 33 pixels apart from x 10, at
# y 178 to 210.
kCallsignEnd="752 28"
clear_callsign() {
    click_client $kCallsignEnd
    keys $(printf 'BackSpace %.0s' $(seq 22))
}
edited() { # LABEL: its working copy is there
    wait_for "no working copy of $1 after an edit" test -f "$pilots/$1.dvw"
}
pilot_holds() { # FILE FIELD=VALUE: a demo pilot or its working copy, against the original
    holds "$pilots/$1" "$work/original/pilots/${1%.*}.sav" "$2"
}
swatch_x() { # DIGIT
    echo $((10 + 33 * (($1 + 9) % 10) + 16))
}
kSwatchY=194

case "$scenario" in
edit)
    # The start selects the file last loaded into the game; a click on another file, a
    # callsign typed with a colour from the palette, File > Exit and Yes to the question: the
    # file holds the new callsign, byte for byte, and nothing else changed.
    start_on_demo bulldog.sav
    expect_rows 3 # ace, bulldog, ghost; viper is below
    selected=$("$python" "$here/winshot.py" selected "$SHOT" "$CX" "$CY")
    [ "$selected" = 1 ] || fail "row '$selected' is selected at the start, not bulldog's"
    click_client 150 "${ROWS[2]}"
    clear_callsign
    edited ghost
    click_client "$(swatch_x 7)" $kSwatchY
    keys shift+s t o r m
    click_client "$(swatch_x 2)" $kSwatchY
    keys 1
    sleep 0.5
    shoot "$MAIN" "$outdir/edit-main.png"
    menu_exit
    question=$(wait_window Save 1 100) || exit 1
    shoot "$question" "$outdir/edit-question.png"
    focus "$question"
    keys Return
    expect_exit
    [ -e "$pilots/ghost.dvw" ] && fail "the working copy survived Yes"
    pilot_holds ghost.sav 'callsign=~7Storm~21' || fail "ghost.sav does not hold the new callsign"
    for f in ace bulldog viper; do
        cmp -s "$pilots/$f.sav" "$work/original/pilots/$f.sav" || fail "$f.sav changed"
    done
    cmp -s "$work/demo/F-22 Raptor/raptor.sav" "$work/original/F-22 Raptor/raptor.sav" ||
        fail "raptor.sav changed"
    ;;
modifiers)
    # Ctrl+Z asks about undoing; the key-up of Ctrl goes to that box, not to the editor. Once
    # the box is gone, a plain z types a z and x is not swallowed as Ctrl+X.
    start_on_demo ghost.sav
    clear_callsign
    keys a
    edited ghost
    keys ctrl+z
    question=$(wait_window "Undo Motifications" 1 100) || exit 1
    focus "$question"
    keys Escape
    wait_gone "Undo Motifications"
    focus "$MAIN"
    keys z x
    sleep 0.5
    find_window "Undo Motifications" >/dev/null && fail "a plain z asked about undoing again"
    shoot "$MAIN" "$outdir/modifiers-main.png"
    save_and_exit
    pilot_holds ghost.sav 'callsign=azx' || fail "ghost.sav does not hold the callsign typed after the box"
    ;;
typeahead)
    # Keys typed while the program cannot take them (stopped here, as a busy machine would
    # hold it) arrive as they were typed, Shift and Control included; typing goes on after a
    # keyboard Save, which types no S. In the list, Shift+Down selects the next pilot too; Tab
    # goes into the callsign with its caret at the end, and Ctrl+Q ends the program.
    start_on_demo bulldog.sav
    expect_rows 3
    focus "$MAIN"
    kill -STOP "$pid"
    keys shift+Down
    kill -CONT "$pid"
    sleep 1
    main_window
    selected=$("$python" "$here/winshot.py" selected "$SHOT" "$CX" "$CY")
    [ "$selected" = "1 2" ] || fail "rows '$selected' are selected, not bulldog's and ghost's"
    keys Up Down # ghost alone
    sleep 0.5
    keys Tab
    keys $(printf 'BackSpace %.0s' $(seq 22))
    keys A B C D
    edited ghost
    kill -STOP "$pid"
    keys asciitilde exclam at K shift+Left shift+Left BackSpace x ctrl+s y
    kill -CONT "$pid"
    wait_for "the keys typed ahead were not saved" pilot_holds ghost.sav 'callsign=ABCD~!x'
    wait_for "the key after Ctrl+S did not reach the field" pilot_holds ghost.dvw 'callsign=ABCD~!xy'
    shoot "$MAIN" "$outdir/typeahead-main.png"
    keys ctrl+s
    wait_for "the second Ctrl+S left the working copy" test ! -e "$pilots/ghost.dvw"
    keys ctrl+q
    expect_exit
    pilot_holds ghost.sav 'callsign=ABCD~!xy' || fail "ghost.sav does not hold what was typed"
    ;;
drop)
    # A pilot dropped from a file manager comes into the SAV folder, selected and open.
    start_on_demo ghost.sav
    expect_rows 3
    shoot "$MAIN" "$outdir/drop-start.png" # the README's picture of the main window
    mkdir -p "$work/elsewhere"
    cp "$work/demo/pilots/viper.sav" "$work/elsewhere/Zulu.sav"
    xdotool mousemove $((OX + 560)) $((OY + 300))
    "$python" "$here/xdnd_drop.py" "$MAIN" $((OX + 560)) $((OY + 300)) \
        "$work/elsewhere/Zulu.sav" || fail "the window did not take the dropped file"
    wait_for "the dropped pilot is not in the SAV folder" cmp -s "$pilots/Zulu.sav" \
        "$work/elsewhere/Zulu.sav"
    sleep 0.5
    main_window
    # Zulu sorts last: scrolled into view, it is the last of the three rows shown.
    selected=$("$python" "$here/winshot.py" selected "$SHOT" "$CX" "$CY")
    [ "$selected" = 2 ] || fail "row '$selected' is selected after the drop, not Zulu's"
    grep -q "^lastLoadedFile = ghost.sav" "$program/drovak.ini" || fail "the settings changed"
    shoot "$MAIN" "$outdir/drop-main.png"
    menu_exit
    expect_exit
    ;;
crash)
    # What is typed reaches the working copy within a pause: killed a second after the last
    # key, the program loses none of it, and the next start has the pilot as edited.
    start_on_demo ghost.sav
    clear_callsign
    keys shift+k i l o 4 2
    sleep 1
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    pid=""
    pilot_holds ghost.dvw 'callsign=Kilo42' || fail "the working copy does not hold every key typed"
    cmp -s "$pilots/ghost.sav" "$work/original/pilots/ghost.sav" || fail "ghost.sav changed"
    start
    main_window
    shoot "$MAIN" "$outdir/crash-restarted.png"
    save_and_exit
    pilot_holds ghost.sav 'callsign=Kilo42' || fail "the restarted program did not save what was typed"
    ;;
broken)
    # A start that cannot succeed says why, naming the file, on standard error and, on a
    # desktop, in a box; it never ends with status 0.
    make_program_folder
    make_demo_setup
    quiet_settings
    expect_refusal() { # WHAT-STDERR-NAMES COMMAND...
        local named=$1 status=0
        shift
        : >"$errlog"
        (cd "$work" && exec "$@") 2>>"$errlog" || status=$?
        [ "$status" -ne 0 ] || fail "a start without $named ended with status 0"
        grep -q "$named" "$errlog" || fail "standard error does not name $named"
    }
    expect_refusal DISPLAY env -u DISPLAY "$program/drovak"
    mv "$program/chrtable.dv" "$work/chrtable.dv"
    expect_refusal chrtable.dv env -u DISPLAY "$program/drovak"
    mv "$work/chrtable.dv" "$program/chrtable.dv"
    rm "$program/0alpha"
    : >"$errlog"
    start
    box=$(wait_window "Drovak cannot start" 1 100) || exit 1
    shoot "$box" "$outdir/broken-box.png"
    focus "$box"
    keys Return
    status=0
    wait "$pid" || status=$?
    pid=""
    [ "$status" -ne 0 ] || fail "a start without 0alpha ended with status 0"
    grep -q 0alpha "$errlog" || fail "standard error does not name 0alpha"
    ;;
setup)
    # The first run on the shipped settings file: the wizard refuses a folder without
    # raptor.sav and takes the game folder; the settings dialog moves the SAV folder, and the
    # list shows the new folder's files; Load copies the chosen one into the game folder and
    # remembers it for the next start.
    make_program_folder
    quiet_settings
    wine=$work/wine
    novalogic="$wine/drive_c/Program Files/Novalogic"
    game="$novalogic/F-22 Raptor"
    pilots="$novalogic/pilots"
    mkdir -p "$work/scratch"
    "$make_demo" "$program/template.sav" "$novalogic" "$work/scratch" >/dev/null ||
        fail "drovak_make_demo failed"
    cp "$game/raptor.sav" "$work/raptor.original"
    start WINEPREFIX="$wine"
    wizard=$(wait_window "Drovak Setup Wizard") || exit 1
    sleep 0.5
    shoot "$wizard" "$outdir/setup-wizard.png"
    wizard_edit="10 159 290 12"
    click_dialog "$wizard" 367 198 $wizard_edit
    keys ctrl+a
    type_text "$pilots/"
    keys Return # OK is the default button
    refusal=$(wait_window Error 1 100) || exit 1
    focus "$refusal"
    keys Return
    wait_gone Error
    find_window "Drovak Setup Wizard" >/dev/null || fail "the wizard closed on a wrong folder"
    click_dialog "$wizard" 367 198 $wizard_edit
    keys ctrl+a
    type_text "$game/"
    click_dialog "$wizard" 367 198 306 180 50 14 # OK
    wait_gone "Drovak Setup Wizard"
    main_window
    ini_expect firstRun 0
    ini_expect raptorPath "$game/"
    ini_expect savPath "$game/"
    ini_expect templatePath "$game/raptor.sav"
    ini_expect showSplashScreen 1
    expect_rows 1 # raptor

    menu t
    dialog=$(wait_window "Drovak Settings") || exit 1
    sleep 0.3
    click_dialog "$dialog" 254 230 14 142 226 30 # SAV folder is the RAPTOR folder: off
    click_dialog "$dialog" 254 230 14 114 170 12 # the SAV folder
    keys ctrl+a
    type_text "$pilots/"
    sleep 0.3
    shoot "$dialog" "$outdir/setup-settings.png"
    click_dialog "$dialog" 254 230 87 212 50 14 # OK
    wait_gone "Drovak Settings"
    ini_expect savPath "$pilots/"
    ini_expect savPathEqRaptorPath 0
    sleep 0.5
    expect_rows 3 # ace, bulldog, ghost; viper is below
    click_client 150 "${ROWS[2]}"
    menu l
    wait_for "Load did not put ghost into the game folder" cmp -s "$game/raptor.sav" \
        "$pilots/ghost.sav"
    ini_expect lastLoadedFile ghost.sav
    shoot "$MAIN" "$outdir/setup-loaded.png"
    cmp -s "$work/raptor.original" "$pilots/ghost.sav" && fail "the demo's ghost is its raptor"
    menu_exit
    expect_exit

    ;;
installed)
    # DROVAK is an installed copy (PREFIX/bin/drovak) on a fresh home without the game: the
    # wizard comes first, and OK on a game folder writes the settings into the user's
    # configuration folder. Whether the prefix stayed untouched is the caller's to check.
    exe=$drovak
    home=$work/home
    mkdir -p "$home" "$work/scratch"
    shared=$(dirname "$drovak")/../share/drovak
    "$make_demo" "$shared/template.sav" "$work/demo" "$work/scratch" >/dev/null ||
        fail "drovak_make_demo failed"
    game="$work/demo/F-22 Raptor"
    ini=$home/.config/drovak/drovak.ini
    start -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME HOME="$home" \
        WINEPREFIX="$work/wine"
    choice=$(wait_window "Drovak Setup") || exit 1 # no game found: the demo is offered
    focus "$choice"
    keys Down Return # the folder named by hand
    wizard=$(wait_window "Drovak Setup Wizard") || exit 1
    sleep 0.5
    shoot "$wizard" "$outdir/installed-wizard.png"
    click_dialog "$wizard" 367 198 10 159 290 12
    keys ctrl+a
    type_text "$game/"
    click_dialog "$wizard" 367 198 306 180 50 14 # OK
    wait_gone "Drovak Setup Wizard"
    main_window
    ini_expect firstRun 0
    ini_expect raptorPath "$game/"
    ini_expect templatePath "$game/raptor.sav"
    expect_rows 1 # raptor
    shoot "$MAIN" "$outdir/installed-main.png"
    menu_exit
    expect_exit
    [ -d "$home/.cache/drovak" ] || fail "no mail folder in ~/.cache/drovak"
    others=$(find "$home" -name drovak.ini ! -path "$ini")
    [ -z "$others" ] || fail "settings written outside ~/.config/drovak: $others"
    ;;
found)
    # The game kept in game managers' prefixes (Lutris's ~/Games, Bottles): the wizard lists
    # both, the one with the game's program first, and proposes the one chosen.
    make_program_folder
    quiet_settings
    home=$work/home
    lutris="$home/Games/f-22-raptor/drive_c/Program Files/Novalogic"
    bottles="$home/.local/share/bottles/bottles/Games/drive_c/Games/Novalogic"
    mkdir -p "$work/scratch"
    for place in "$bottles" "$lutris"; do
        "$make_demo" "$program/template.sav" "$place" "$work/scratch" >/dev/null ||
            fail "drovak_make_demo failed"
    done
    touch "$lutris/F-22 Raptor/Raptor.exe"
    start -u WINEPREFIX HOME="$home"
    choice=$(wait_window "Drovak Setup") || exit 1
    sleep 0.5
    shoot "$choice" "$outdir/found-choices.png"
    focus "$choice"
    keys Return # the first line: Lutris's
    wizard=$(wait_window "Drovak Setup Wizard") || exit 1
    sleep 0.3
    shoot "$wizard" "$outdir/found-wizard.png"
    focus "$wizard"
    keys Return
    wait_gone "Drovak Setup Wizard"
    main_window
    ini_expect raptorPath "$lutris/F-22 Raptor/"
    ini_expect firstRun 0
    expect_rows 1 # raptor
    menu_exit
    expect_exit
    ;;
demo)
    # Nothing found: the first start offers the demo set-up, made in the user's data folder,
    # and opens on its pilots.
    make_program_folder
    quiet_settings
    mkdir -p "$work/home"
    start -u WINEPREFIX HOME="$work/home"
    choice=$(wait_window "Drovak Setup") || exit 1
    sleep 0.5
    shoot "$choice" "$outdir/demo-choices.png"
    focus "$choice"
    keys Return # the demo set-up
    main_window
    demo=$XDG_DATA_HOME/drovak/demo
    ini_expect raptorPath "$demo/F-22 Raptor/"
    ini_expect savPath "$demo/pilots/"
    ini_expect firstRun 0
    [ -f "$demo/F-22 Raptor/raptor.sav" ] || fail "the demo has no raptor.sav"
    expect_rows 3 # ace, bulldog, ghost; viper is below
    shoot "$MAIN" "$outdir/demo-main.png"
    menu_exit
    expect_exit
    ;;
mailto)
    # A desktop whose only mail program takes mailto links: Send by Email hands it the
    # subject, the text and the pilot as an attachment, byte for byte.
    export XDG_CONFIG_HOME=$work/config
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications"
    printf '#!/bin/sh\nprintf "%%s" "$1" >"%s"\n' "$work/mailto.txt" >"$work/standin.sh"
    chmod +x "$work/standin.sh"
    printf '[Desktop Entry]\nType=Application\nName=Stand-in\nExec=%s %%u\nMimeType=x-scheme-handler/mailto;\n' \
        "$work/standin.sh" >"$XDG_DATA_HOME/applications/standin.desktop"
    printf '[Default Applications]\nx-scheme-handler/mailto=standin.desktop\n' \
        >"$XDG_CONFIG_HOME/mimeapps.list"
    start_on_demo ghost.sav
    menu e
    wait_for "the mailto handler was not called" test -s "$work/mailto.txt"
    link=$(cat "$work/mailto.txt")
    decode() { "$python" -c 'import sys, urllib.parse as u; print(u.unquote(sys.argv[1]))' "$1"; }
    [[ "$link" == mailto:* ]] || fail "the handler got '$link', not a mailto link"
    subject=$(decode "$(sed -n 's/.*[?&]subject=\([^&]*\).*/\1/p' <<<"$link")")
    [ "$subject" = "F-22 Raptor pilot file" ] || fail "the subject is '$subject'"
    body=$(decode "$(sed -n 's/.*[?&]body=\([^&]*\).*/\1/p' <<<"$link")")
    [[ "$body" == "Here is my F-22 Raptor pilot file."* ]] || fail "the link's text is '$body'"
    attached=$(decode "$(sed -n 's/.*[?&]attach=\([^&]*\).*/\1/p' <<<"$link")")
    attached=${attached#file://}
    cmp -s "$attached" "$work/demo/pilots/ghost.sav" || fail "the attachment '$attached' is not ghost"
    menu_exit
    expect_exit
    ;;
resize)
    # With a window manager: the window grows taller and the list shows every pilot; it
    # maximises, the editor keeping its layout beside the wider list. At twice the scale the
    # window still fits the screen, and scrolls to what it cannot show.
    openbox >/dev/null 2>&1 &
    wm=$!
    trap 'kill $wm 2>/dev/null; cleanup' EXIT
    sleep 1
    start_on_demo ghost.sav
    expect_rows 3 # ace, bulldog, ghost; viper is below
    xdotool windowsize "$MAIN" 780 640
    sleep 1
    main_window
    LIST_BOTTOM=$((166 + HEIGHT - 545)) expect_rows 4
    shoot "$MAIN" "$outdir/resize-taller.png"
    "$python" -c '
import sys
from Xlib import X, display, protocol
d = display.Display()
w = d.create_resource_object("window", int(sys.argv[1]))
state = d.intern_atom("_NET_WM_STATE")
both = [d.intern_atom("_NET_WM_STATE_MAXIMIZED_" + a) for a in ("VERT", "HORZ")]
event = protocol.event.ClientMessage(window=w, client_type=state, data=(32, [1, *both, 1, 0]))
d.screen().root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
d.flush()' "$MAIN" || fail "could not ask for the window to be maximised"
    wait_for "the window was not maximised" bash -c "xdotool getwindowgeometry --shell $MAIN | grep -qx 'WIDTH=1024'"
    sleep 1
    main_window
    LIST_BOTTOM=$((166 + HEIGHT - 545)) expect_rows 4
    shoot "$MAIN" "$outdir/resize-maximised.png"
    # The fields moved right by the list's growth, and a click there still edits them.
    click_client $((752 + WIDTH - 780)) 28
    keys $(printf 'BackSpace %.0s' $(seq 22))
    keys shift+w i d e
    save_and_exit
    pilot_holds ghost.sav 'callsign=Wide' || fail "the field was not edited"
    start GDK_SCALE=2
    main_window
    [ "$WIDTH" -le 1024 ] && [ "$HEIGHT" -le 768 ] ||
        fail "at twice the scale the window is ${WIDTH}x$HEIGHT, larger than the screen"
    shoot "$MAIN" "$outdir/resize-scaled.png"
    menu_exit
    expect_exit
    ;;
reader)
    # What a screen reader finds over AT-SPI: a row for each pilot naming its callsign, the
    # six fields with their texts, the palettes' buttons; a click into the callsign puts the
    # caret where the reader says it is. Another pilot chosen, a letter typed and taken back:
    # the reader is told each change, with its text.
    DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 \
        3>"$work/bus.pid") || fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS
    trap 'kill "$(cat "$work/bus.pid")" 2>/dev/null; cleanup' EXIT
    start_on_demo ghost.sav
    tree() { # PATTERN...: the tree holds a line of each
        "$python" "$here/a11ytree.py" >"$work/tree.txt" 2>/dev/null || return 1
        for line in "$@"; do grep -qF -- "$line" "$work/tree.txt" || return 1; done
    }
    today=$(date '+%b %-d, %Y') # the demo's files were written now
    wait_for "the reader finds no pilots, fields or buttons (see reader-tree.txt)" tree \
        "list item|ace, ACEHIGH, $today|" "list item|viper, VIPER, $today|" \
        "entry|Callsign|GHOST|-1" "entry|Squadron password|BOO|-1" \
        "push button|Colour 7 cyan|" "push button|Æ|"
    cp "$work/tree.txt" "$outdir/reader-tree.txt"
    # What the reader is told as the list moves and the callsign is typed into.
    events=$outdir/reader-events.txt
    "$python" "$here/a11ytree.py" events >"$events" 2>&1 &
    listener=$!
    trap 'kill "$listener" "$(cat "$work/bus.pid")" 2>/dev/null; cleanup' EXIT
    wait_for "the reader's listener did not start" grep -q listening "$events"
    sleep 1
    told() { # PATTERN...: the reader was told each
        for line in "$@"; do grep -qF -- "$line" "$events" || return 1; done
    }
    click_client $kCallsignEnd
    wait_for "the reader's caret is not after GHOST" tree "entry|Callsign|GHOST|5"
    keys shift+z
    wait_for "the reader was not told of the Z typed (see reader-events.txt)" told \
        "object:state-changed:focused|entry|Callsign|1" \
        "object:text-changed:insert|entry|Callsign|5|Z" "object:text-caret-moved|entry|Callsign|6|"
    keys BackSpace
    wait_for "the reader was not told of the Z taken back (see reader-events.txt)" told \
        "object:text-changed:delete|entry|Callsign|5|Z" "object:text-caret-moved|entry|Callsign|5|"
    expect_rows 3 # ace, bulldog, ghost
    click_client 150 "${ROWS[0]}"
    wait_for "the reader was not told ace is chosen (see reader-events.txt)" told \
        "object:state-changed:selected|list item|ace, ACEHIGH, $today|1" \
        "object:state-changed:selected|list item|ghost, GHOST, " \
        "object:text-changed:insert|entry|Callsign|0|ACEHIGH"
    save_and_exit # ghost was edited
    ;;
splash)
    # The splash shows its picture over the desktop first, then closes and the main window
    # follows.
    make_program_folder
    make_demo_setup
    ini_set soundOn 0
    ini_set showSplashScreen 1
    start
    splash=$(wait_window "$title" 1 100) || exit 1
    sleep 0.5
    geometry "$splash"
    [ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 346 ] ||
        fail "the first window is ${WIDTH}x$HEIGHT, not the 400x346 splash"
    shoot "$splash" "$outdir/splash-splash.png"
    "$python" "$here/winshot.py" painted "$outdir/splash-splash.png" ||
        fail "the splash shows no picture"
    main_window
    wait_for "the splash stayed open" bash -c "! xdotool search --onlyvisible --name '^$title\$' | grep -qvx '$MAIN'"
    menu_exit
    expect_exit
    ;;
backup)
    # Load keeps the game's raptor.sav in the backups folder, named by time and callsign;
    # File > Restore Game Pilot lists it and puts it back, keeping the pilot it replaces.
    game="$work/demo/F-22 Raptor"
    backups=$XDG_DATA_HOME/drovak/backups
    start_on_demo bulldog.sav
    expect_rows 3 # ace, bulldog, ghost
    click_client 150 "${ROWS[2]}"
    menu l
    wait_for "Load did not put ghost into the game" cmp -s "$game/raptor.sav" \
        "$work/demo/pilots/ghost.sav"
    kept=$(ls "$backups" 2>/dev/null)
    [[ "$kept" =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}_ACEHIGH\.sav$ ]] ||
        fail "the backups folder holds '$kept', not the replaced ACEHIGH"
    cmp -s "$backups/$kept" "$work/original/F-22 Raptor/raptor.sav" ||
        fail "the backup is not the replaced raptor.sav"
    shoot "$MAIN" "$outdir/backup-loaded.png" # the strip below the editor says so
    menu p
    dialog=$(wait_window "Restore Game Pilot" 1 100) || exit 1
    sleep 0.5
    shoot "$dialog" "$outdir/backup-restore.png"
    focus "$dialog"
    keys Return # the newest backup starts chosen
    wait_gone "Restore Game Pilot"
    wait_for "Restore did not put ACEHIGH back" cmp -s "$game/raptor.sav" \
        "$work/original/F-22 Raptor/raptor.sav"
    [ "$(ls "$backups" | wc -l)" -eq 2 ] || fail "the restored-over ghost was not kept"
    ls "$backups" | grep -q "_GHOST\.sav$" || fail "no backup of GHOST: $(ls "$backups")"
    menu_exit
    expect_exit
    ;;
trash)
    # Delete moves the pilot into the desktop's trash, with the note that can put it back.
    start_on_demo bulldog.sav
    expect_rows 3 # ace, bulldog, ghost
    click_client 150 "${ROWS[0]}"
    menu d
    question=$(wait_window Deleting 1 100) || exit 1
    focus "$question"
    keys Return # Yes
    wait_gone Deleting
    wait_for "ace.sav did not reach the trash" test -f "$XDG_DATA_HOME/Trash/files/ace.sav"
    [ -e "$pilots/ace.sav" ] && fail "ace.sav is still in the SAV folder"
    cmp -s "$XDG_DATA_HOME/Trash/files/ace.sav" "$work/original/pilots/ace.sav" ||
        fail "the trashed ace.sav is not the pilot"
    grep -qx "Path=$pilots/ace.sav" "$XDG_DATA_HOME/Trash/info/ace.sav.trashinfo" ||
        fail "no .trashinfo naming $pilots/ace.sav"
    expect_rows 3 # bulldog, ghost, viper
    menu_exit
    expect_exit
    ;;
second)
    # A second start with a file hands it to the window running on the same settings and
    # ends with status 0: one window, with that file open. After a kill -9 of the first, a
    # start is a window of its own at once.
    start_on_demo ghost.sav
    expect_rows 3
    mkdir -p "$work/elsewhere"
    cp "$work/demo/pilots/viper.sav" "$work/elsewhere/Zulu.sav"
    status=0
    (cd "$work" && timeout 20 "$program/drovak" "$work/elsewhere/Zulu.sav") 2>>"$errlog" ||
        status=$?
    [ "$status" -eq 0 ] || fail "the second start ended with status $status"
    wait_for "the handed pilot is not in the SAV folder" cmp -s "$work/demo/pilots/Zulu.sav" \
        "$work/elsewhere/Zulu.sav"
    sleep 0.5
    windows=$(xdotool search --onlyvisible --name "^$title\$" | wc -l)
    [ "$windows" -eq 1 ] || fail "$windows windows named '$title' after the second start"
    main_window
    selected=$("$python" "$here/winshot.py" selected "$SHOT" "$CX" "$CY")
    [ "$selected" = 2 ] || fail "row '$selected' is selected after the second start, not Zulu's"
    shoot "$MAIN" "$outdir/second-main.png"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    pid=""
    start
    main_window
    menu_exit
    expect_exit
    ;;
outside)
    # The command line changes the open, unchanged pilot: the window shows it at once, so
    # what is typed next and saved with Ctrl+S keeps the change.
    start_on_demo ghost.sav
    expect_rows 3
    "$program/drovak" set "$pilots/ghost.sav" --squadron NEWSQ 2>>"$errlog" ||
        fail "drovak set failed"
    sleep 2 # the news reaches the window within a tenth of a second; a sanitized build is slow
    focus "$MAIN"
    keys Tab Tab shift+x
    edited ghost
    keys ctrl+s
    wait_for "Ctrl+S left the working copy" test ! -e "$pilots/ghost.dvw"
    shoot "$MAIN" "$outdir/outside-main.png"
    keys ctrl+q
    expect_exit
    pilot_holds ghost.sav 'squadron=NEWSQX' ||
        fail "ghost.sav lost the squadron set from the command line"
    ;;
question)
    # Another program rewrites a pilot with unsaved changes: the window asks, naming the file.
    # Yes keeps the typing, which Save then writes; No shows the file's pilot and drops it.
    for answer in yes no; do
        start_on_demo ghost.sav
        clear_callsign
        keys shift+q
        edited ghost
        cp "$pilots/viper.sav" "$pilots/ghost.sav"
        box=$(wait_window "Changed elsewhere" 1 100) || exit 1
        shoot "$box" "$outdir/question-$answer.png"
        focus "$box"
        if [ "$answer" = yes ]; then keys Return; else keys alt+n; fi
        wait_gone "Changed elsewhere"
        focus "$MAIN"
        if [ "$answer" = yes ]; then
            keys ctrl+s
            wait_for "Ctrl+S left the working copy" test ! -e "$pilots/ghost.dvw"
            find_window "Changed elsewhere" >/dev/null && fail "Save asked again after Yes"
        fi
        keys ctrl+q
        expect_exit
        if [ "$answer" = yes ]; then
            pilot_holds ghost.sav 'callsign=Q' || fail "Yes did not keep the callsign typed"
        else
            cmp -s "$pilots/ghost.sav" "$pilots/viper.sav" || fail "No did not keep the file's"
            [ -e "$pilots/ghost.dvw" ] && fail "No left the working copy"
        fi
        rm -rf "$program" "$work/demo" "$work/original"
    done
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS [$scenario]"
