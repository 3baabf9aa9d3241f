#!/usr/bin/env bash
# drive_app.sh DROVAK MAKE_DEMO SCENARIO OUTDIR, in xvfb-run: drives a private copy of the program
# with real events and checks the files it leaves; the window's places come off screenshots.
set -uo pipefail
drovak=$1 make_demo=$2 scenario=$3 outdir=$4 label=$3
. "$(dirname "$0")/../e2e/lib.sh"
assets=$here/../../assets
mkdir -p "$outdir"
errlog=$outdir/$scenario.stderr
rm -f "$errlog" "$outdir/$scenario"-*.png
program=$work/program pilots=$work/demo/pilots SHOT=$work/main.png
export XDG_DATA_HOME=$work/data # the backups of the game's pilot and the trash

on_failure() {
    echo "--- program's standard error:" >&2 && grep -v '^ALSA lib' "$errlog" >&2 2>/dev/null
    xwd_png "$(find_window "$title" 600)" "$outdir/$scenario-failed.png" 2>/dev/null
}

make_program_folder() { # [SPLASH]: the program (linked where it can be) and its shipped files
    mkdir -p "$program"
    (cd "$(dirname "$drovak")" && find . -mindepth 1 -maxdepth 1 ! -name drovak \
        ! -name drovak.ini -exec cp -r {} "$program/" \;) || fail "cannot copy the program folder"
    ln "$drovak" "$program/" 2>/dev/null || cp "$drovak" "$program/" || fail "cannot copy the program"
    cp "$assets/drovak.ini" "$program/drovak.ini" || fail "no shipped settings file"
    ini_set soundOn 0
    ini_set showSplashScreen "${1:-0}"
}

make_demo_setup() { # [GAME SETTINGS]: raptor.sav and four pilots, the settings pointing there
    mkdir -p "${2:-$program}"
    "$make_demo" "$program/template.sav" "${1:-$work/demo}" "${2:-$program}" >/dev/null ||
        fail "drovak_make_demo failed"
    [ -n "${1:-}" ] || cp -r "$work/demo" "$work/original"
}
on_demo() { make_program_folder "$@"; make_demo_setup; } # [SPLASH]

ini_expect() { # KEY VALUE...
    while [ $# -gt 1 ]; do
        grep -qxF "$1 = $2"$'\r' "${ini:-$program/drovak.ini}" || fail "drovak.ini: no '$1 = $2'"
        shift 2
    done
}

start() { (cd "$work" && exec env "$@" "${exe:-$program/drovak}") 2>>"$errlog" & pid=$!; }

shoot() { xwd_png "$1" "$2" || fail "could not write $2"; } # ID PNG

painted() { xwd_png "$MAIN" "$SHOT" && corner=$(xtool client "$SHOT"); }
main_window() { # its id in MAIN, its client corner in OX OY (CX CY in the screenshot SHOT)
    MAIN=$(wait_window "$title" 600) || exit 1
    wait_for "the main window shows no client area" painted
    geometry "$MAIN"
    CX=${corner% *} CY=${corner#* }
    OX=$((X + CX)) OY=$((Y + CY))
}

rows_are() { xwd_png "$MAIN" "$SHOT" && ROWS=($(xtool rows "$SHOT" "$CX" "$CY" "${2:-166}")) &&
    [ "${#ROWS[@]}" -eq "$1" ]; }
expect_rows() { wait_for "the list does not show $1 rows" rows_are "$@"; } # N [LIST_BOTTOM]

selected_are() { xwd_png "$MAIN" "$SHOT" && [ "$(xtool selected "$SHOT" "$CX" "$CY")" = "$1" ]; }
expect_selected() { wait_for "the rows selected are not $2" selected_are "$1"; } # INDEXES WHOSE

click_client() { click_at $((OX + $1)) $((OY + $2)); }

click_dialog() { # ID DLG_W DLG_H X Y W H: a control's middle, from dialog units and the size
    geometry "$1"
    click_at $((X + ($4 * 2 + $6) * WIDTH / ($2 * 2))) $((Y + ($5 * 2 + $7) * HEIGHT / ($3 * 2)))
}

menu() { focus "$MAIN"; keys alt+f; sleep 0.4; keys "$1"; } # KEY: a File menu item's mnemonic

quit() { ${1:-menu x}; expect_exit; } # [COMMAND]

box() { # TITLE [PNG]: waits for the window, its picture taken, and gives it the keys
    BOX=$(wait_window "$1" 1 600) || exit 1
    [ -z "${2:-}" ] || { sleep 0.5; shoot "$BOX" "$2"; }
    focus "$BOX"
}
answer() { box "$1" "${3:-}"; keys $2; wait_gone "$1"; } # TITLE KEYS [PNG]

save_and_exit() { ${1:-menu x}; answer Save Return "${2:-}"; expect_exit; } # [COMMAND [PNG]]: Yes

start_on_demo() { # PILOT: last loaded; the main window with ace, bulldog, ghost shown
    on_demo
    ini_set lastLoadedFile "$1"
    start
    main_window
    expect_rows 3 # viper is below
}

kCallsignEnd="752 28" # the field spans client (353, 8) to (766, 48)
erase() { keys $(printf 'BackSpace %.0s' $(seq 22)) "$@"; } # [KEYS...] typed after
clear_callsign() { click_client $kCallsignEnd; erase "$@"; }
swatch() { click_client $((10 + 33 * (($1 + 9) % 10) + 16)) 194; } # DIGIT of the palette
edited() { wait_for "no working copy of $1 after an edit" test -f "$pilots/$1.dvw"; }
saved() { keys ctrl+s; wait_for "Ctrl+S left the working copy of $1" test ! -e "$pilots/$1.dvw"; }
typed_ahead() { kill -STOP "$pid"; keys "$@"; kill -CONT "$pid"; } # KEYS: the program stopped
pilot_holds() { holds "$pilots/$1" "$work/original/pilots/${1%.*}.sav" "$2"; } # FILE FIELD=VALUE
expect_holds() { pilot_holds "$1" "$2" || fail "$1 does not hold $2: $3"; } # FILE FIELD=VALUE WHY
unchanged() { for f; do cmp -s "$work/demo/$f" "$work/original/$f" || fail "$f changed"; done; }
wizard_ok() { click_dialog "$BOX" 367 198 306 180 50 14; wait_gone "Drovak Setup Wizard"; main_window; }
elsewhere() { mkdir -p "$work/elsewhere"; cp "$pilots/$1.sav" "$work/elsewhere/$2.sav"; }
arrived() { wait_for "$2" cmp -s "$pilots/$1.sav" "$work/elsewhere/$1.sav" && expect_selected 2 "$1's"; }

case "$scenario" in
edit)
    # Keys typed while it is stopped arrive as typed; palette colours; Ctrl+Z's box keeps Ctrl.
    start_on_demo bulldog.sav
    focus "$MAIN"
    typed_ahead shift+Down
    expect_selected "1 2" "bulldog's and ghost's"
    keys Up Down # ghost alone
    sleep 0.5
    keys Tab
    erase A B C D
    edited ghost
    typed_ahead asciitilde exclam at K shift+Left shift+Left BackSpace x ctrl+s y
    wait_for "the keys typed ahead were not saved" pilot_holds ghost.sav 'callsign=ABCD~!x'
    wait_for "the key after Ctrl+S did not reach the field" pilot_holds ghost.dvw 'callsign=ABCD~!xy'
    saved ghost # a second time
    wait_for "the second Ctrl+S did not save" pilot_holds ghost.sav 'callsign=ABCD~!xy'
    clear_callsign
    edited ghost
    swatch 7
    keys shift+s t o r m
    swatch 2
    keys 1 ctrl+z
    answer "Undo Motifications" Escape
    focus "$MAIN"
    keys z x
    sleep 0.5
    find_window "Undo Motifications" >/dev/null && fail "a plain z asked about undoing again"
    save_and_exit "keys ctrl+q" "$outdir/edit-question.png"
    [ -e "$pilots/ghost.dvw" ] && fail "the working copy survived Yes"
    expect_holds ghost.sav 'callsign=~7Storm~21zx' "the new callsign"
    unchanged pilots/ace.sav pilots/bulldog.sav pilots/viper.sav "F-22 Raptor/raptor.sav"
    ;;
broken)
    # A start that cannot succeed names the file on standard error (and in a box), status 1.
    on_demo
    cd "$work"
    refused() { # WHAT-STDERR-NAMES COMMAND...
        local named=$1 && shift
        ! "$@" 2>>"$errlog" || fail "a start without $named ended with status 0"
        grep -q "$named" "$errlog" || fail "standard error does not name $named"
        : >"$errlog"
    }
    refused DISPLAY env -u DISPLAY "$program/drovak"
    mv "$program/chrtable.dv" "$work/chrtable.dv"
    refused chrtable.dv env -u DISPLAY "$program/drovak"
    mv "$work/chrtable.dv" "$program/chrtable.dv"
    rm "$program/0alpha"
    start
    answer "Drovak cannot start" Return "$outdir/broken-box.png"
    refused 0alpha wait "$pid"
    pid=""
    ;;
setup)
    # The first run, the game in Lutris's and Bottles' prefixes: OK takes the one chosen.
    make_program_folder
    lutris="$work/home/Games/f-22-raptor/drive_c/Program Files/Novalogic"
    game="$lutris/F-22 Raptor"
    make_demo_setup "$work/home/.local/share/bottles/bottles/Games/drive_c/Games/Novalogic" "$work/s"
    make_demo_setup "$lutris" "$work/s"
    touch "$game/Raptor.exe"
    start -u WINEPREFIX HOME="$work/home"
    answer "Drovak Setup" Return "$outdir/setup-choices.png" # the first line: Lutris's
    box "Drovak Setup Wizard" "$outdir/setup-wizard.png"
    wizard_ok
    ini_expect firstRun 0 raptorPath "$game/" savPath "$game/" templatePath "$game/raptor.sav" \
        showSplashScreen 1
    expect_rows 1 # raptor
    quit
    ;;
installed)
    # DROVAK installed (PREFIX/bin/drovak), a fresh home: the settings go to ~/.config/drovak.
    exe=$drovak
    home=$work/home
    mkdir -p "$home" "$work/scratch"
    "$make_demo" "$(dirname "$drovak")/../share/drovak/template.sav" "$work/demo" \
        "$work/scratch" >/dev/null || fail "drovak_make_demo failed"
    game="$work/demo/F-22 Raptor"
    ini=$home/.config/drovak/drovak.ini
    start -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_HOME HOME="$home" \
        WINEPREFIX="$work/wine"
    answer "Drovak Setup" "Down Return" # no game found: not the demo, the folder named by hand
    box "Drovak Setup Wizard" "$outdir/installed-wizard.png"
    click_dialog "$BOX" 367 198 10 159 290 12 # the folder's edit
    keys ctrl+a
    xdotool type --delay 30 "$game/"
    wizard_ok
    ini_expect firstRun 0 raptorPath "$game/" templatePath "$game/raptor.sav"
    expect_rows 1 # raptor
    quit
    [ -d "$home/.cache/drovak" ] || fail "no mail folder in ~/.cache/drovak"
    others=$(find "$home" -name drovak.ini ! -path "$ini")
    [ -z "$others" ] || fail "settings written outside ~/.config/drovak: $others"
    ;;
demo)
    # Nothing found: the demo set-up offered, made in the user's data folder, opened.
    make_program_folder
    mkdir -p "$work/home"
    start -u WINEPREFIX HOME="$work/home"
    answer "Drovak Setup" Return "$outdir/demo-choices.png" # the demo set-up
    main_window
    demo=$XDG_DATA_HOME/drovak/demo
    ini_expect raptorPath "$demo/F-22 Raptor/" savPath "$demo/pilots/" firstRun 0
    [ -f "$demo/F-22 Raptor/raptor.sav" ] || fail "the demo has no raptor.sav"
    expect_rows 3 # ace, bulldog, ghost; viper is below
    quit
    ;;
resize)
    # Taller, the list shows every pilot; maximised, the fields move; at twice the scale it fits.
    openbox >/dev/null 2>&1 &
    helpers=$!
    sleep 1
    grown() { sleep 1; main_window; expect_rows 4 $((166 + HEIGHT - 545)); shoot "$MAIN" "$outdir/resize-$1.png"; }
    start_on_demo ghost.sav
    xdotool windowsize "$MAIN" 780 640
    grown taller
    xtool maximise "$MAIN" || fail "could not ask for the window to be maximised"
    wait_for "the window was not maximised" bash -c "xdotool getwindowgeometry --shell $MAIN | grep -qx 'WIDTH=1024'"
    grown maximised
    click_client $((752 + WIDTH - 780)) 28
    erase shift+w i d e
    save_and_exit
    expect_holds ghost.sav 'callsign=Wide' "what was typed into the moved field"
    start GDK_SCALE=2
    main_window
    [ "$WIDTH" -le 1024 ] && [ "$HEIGHT" -le 768 ] ||
        fail "at twice the scale the window is ${WIDTH}x$HEIGHT, larger than the screen"
    shoot "$MAIN" "$outdir/resize-scaled.png"
    quit
    ;;
reader)
    # What a screen reader finds over AT-SPI, and is told as the callsign and list change.
    DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 \
        3>"$work/bus.pid") || fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS
    helpers=$(cat "$work/bus.pid")
    start_on_demo ghost.sav
    holds_lines() { local f=$1 && shift && for l; do grep -qF -- "$l" "$f" || return 1; done; }
    tree() { xtool tree >"$outdir/reader-tree.txt" 2>/dev/null && holds_lines "$outdir/reader-tree.txt" "$@"; }
    today=$(date '+%b %-d, %Y') # the demo's files were written now
    wait_for "the reader finds no pilots, fields or buttons (see reader-tree.txt)" tree \
        "list item|ace, ACEHIGH, $today|" "list item|viper, VIPER, $today|" \
        "entry|Callsign|GHOST|-1" "entry|Squadron password|BOO|-1" \
        "push button|Colour 7 cyan|" "push button|Æ|"
    events=$outdir/reader-events.txt
    "$python" "$here/../e2e/xtool.py" events >"$events" 2>&1 &
    helpers+=" $!"
    wait_for "the reader's listener did not start" grep -q listening "$events"
    sleep 1
    told() { holds_lines "$events" "$@"; }
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
    # The splash shows its picture first, then closes and the main window follows.
    on_demo 1
    start
    splash=$(wait_window "$title" 1 100) || exit 1
    sleep 0.5
    geometry "$splash"
    [ "$WIDTH" -eq 400 ] && [ "$HEIGHT" -eq 346 ] ||
        fail "the first window is ${WIDTH}x$HEIGHT, not the 400x346 splash"
    shoot "$splash" "$outdir/splash-splash.png"
    xtool painted "$outdir/splash-splash.png" || fail "the splash shows no picture"
    main_window
    wait_for "the splash stayed open" bash -c "! xdotool search --onlyvisible --name '^$title\$' | grep -qvx '$MAIN'"
    quit
    ;;
backup)
    # Load keeps a backup that Restore puts back; the desktop's mailto handler and trash.
    game="$work/demo/F-22 Raptor"
    export XDG_CONFIG_HOME=$work/config
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications"
    printf '#!/bin/sh\nprintf "%%s" "$1" >"%s"\n' "$work/mailto.txt" >"$work/standin.sh"
    chmod +x "$work/standin.sh"
    printf '[Desktop Entry]\nType=Application\nName=Stand-in\nExec=%s %%u\nMimeType=x-scheme-handler/mailto;\n' \
        "$work/standin.sh" >"$XDG_DATA_HOME/applications/standin.desktop"
    printf '[Default Applications]\nx-scheme-handler/mailto=standin.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"
    backups=$XDG_DATA_HOME/drovak/backups
    start_on_demo bulldog.sav
    click_client 150 "${ROWS[2]}"
    menu l
    wait_for "Load did not put ghost into the game" cmp -s "$game/raptor.sav" "$pilots/ghost.sav"
    ini_expect lastLoadedFile ghost.sav
    kept=$(ls "$backups" 2>/dev/null)
    [[ "$kept" =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}_ACEHIGH\.sav$ ]] ||
        fail "the backups folder holds '$kept', not the replaced ACEHIGH"
    menu p
    answer "Restore Game Pilot" Return "$outdir/backup-restore.png" # the newest starts chosen
    wait_for "Restore did not put ACEHIGH back" unchanged "F-22 Raptor/raptor.sav"
    menu e
    wait_for "the mailto handler was not called" test -s "$work/mailto.txt"
    link=$(cat "$work/mailto.txt")
    [[ "$link" == mailto:* ]] || fail "the handler got '$link', not a mailto link"
    param() { "$python" -c 'import sys, urllib.parse as u; print(u.unquote(sys.argv[1]))' \
        "$(sed -n "s/.*[?&]$1=\([^&]*\).*/\1/p" <<<"$link")"; }
    [ "$(param subject)" = "F-22 Raptor pilot file" ] || fail "the subject is '$(param subject)'"
    [[ "$(param body)" == "Here is my F-22 Raptor pilot file."* ]] || fail "the text is '$(param body)'"
    attached=$(param attach)
    cmp -s "${attached#file://}" "$pilots/ghost.sav" || fail "the attachment '$attached' is not ghost"
    click_client 150 "${ROWS[0]}"
    menu d
    answer Deleting Return # Yes
    trashed=$XDG_DATA_HOME/Trash
    wait_for "ace.sav did not reach the trash" cmp -s "$trashed/files/ace.sav" "$work/original/pilots/ace.sav"
    [ -e "$pilots/ace.sav" ] && fail "ace.sav is still in the SAV folder"
    grep -qx "Path=$pilots/ace.sav" "$trashed/info/ace.sav.trashinfo" ||
        fail "no .trashinfo naming $pilots/ace.sav"
    expect_rows 3 # bulldog, ghost, viper
    quit
    ;;
second)
    # After a kill -9 nothing typed is lost; a second start hands over its file; a drop.
    start_on_demo ghost.sav
    shoot "$MAIN" "$outdir/drop-start.png" # the README's picture of the main window
    clear_callsign shift+k i l o 4 2
    sleep 1
    kill -9 "$pid" && wait "$pid" 2>/dev/null
    expect_holds ghost.dvw 'callsign=Kilo42' "every key typed"
    unchanged pilots/ghost.sav
    start
    main_window
    elsewhere viper Zulu
    (cd "$work" && timeout 20 "$program/drovak" "$work/elsewhere/Zulu.sav") 2>>"$errlog" ||
        fail "the second start ended with status $?"
    arrived Zulu "the handed pilot is not in the SAV folder"
    windows=$(xdotool search --onlyvisible --name "^$title\$" | wc -l)
    [ "$windows" -eq 1 ] || fail "$windows windows named '$title' after the second start"
    elsewhere bulldog Zz # sorts after Zulu
    xdotool mousemove $((OX + 560)) $((OY + 300))
    xtool drop "$MAIN" $((OX + 560)) $((OY + 300)) "$work/elsewhere/Zz.sav" ||
        fail "the window did not take the dropped file"
    arrived Zz "the dropped pilot is not in the SAV folder"
    ini_expect lastLoadedFile ghost.sav
    save_and_exit
    expect_holds ghost.sav 'callsign=Kilo42' "what the restarted program saved"
    ;;
question)
    # Rewritten outside while edited: Yes keeps the typing, No the file's, then follows `set`.
    for reply in Return alt+n; do # Yes, No
        start_on_demo ghost.sav
        clear_callsign shift+q
        edited ghost
        cp "$pilots/ace.sav" "$pilots/ghost.sav" # ace's fields are all filled
        answer "Changed elsewhere" $reply "$outdir/question-$reply.png"
        [ $reply = Return ] || break
        focus "$MAIN"
        saved ghost
        find_window "Changed elsewhere" >/dev/null && fail "Save asked again after Yes"
        quit "keys ctrl+q"
        expect_holds ghost.sav 'callsign=Q' "the callsign typed before Yes"
        rm -rf "$program" "$work/demo" "$work/original"
    done
    [ -e "$pilots/ghost.dvw" ] && fail "No left the working copy"
    "$program/drovak" set "$pilots/ghost.sav" --squadron NEWSQ 2>>"$errlog" || fail "set failed"
    sleep 2 # the news takes a tenth of a second; a sanitized build is slow
    focus "$MAIN"
    keys Tab Tab shift+x
    edited ghost
    saved ghost
    quit "keys ctrl+q"
    holds "$pilots/ghost.sav" "$work/original/pilots/ace.sav" squadron=NEWSQX ||
        fail "ghost.sav is not the file's pilot with the squadron set and typed"
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS [$scenario]"
