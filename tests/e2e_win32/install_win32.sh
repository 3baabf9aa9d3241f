#!/usr/bin/env bash
# install_win32.sh WINE SETUP_EXE OUTDIR, in xvfb-run: the installer under Wine, silently for
# the current user, the program started, then uninstalled with the user's files left.
set -uo pipefail

wine=$1 setup=$2 outdir=$3 label="win32 install"
. "$(dirname "$0")/../e2e/lib.sh"
mkdir -p "$outdir"
rm -f "$outdir"/install*
wine_prefix
on_failure() { xwd_png root "$outdir/install-failed.png"; }

unix_path() { winepath -u "$1" 2>/dev/null; }
folder_of() { unix_path "$("$wine" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')"; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Drovak'
value() { # KEY NAME: the value's data as reg shows it
    "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

"$wine" "$setup" /S /CurrentUser >/dev/null 2>&1 || fail "the silent install failed"
appdata=$(folder_of APPDATA)
programs=$(folder_of LOCALAPPDATA)/Programs/Drovak
[ -f "$programs/bin/drovak.exe" ] || fail "no drovak.exe in $programs/bin"
[ -f "$appdata/Microsoft/Windows/Start Menu/Programs/Drovak.lnk" ] || fail "no Start-menu entry"
[ "$(value "$key" DisplayName)" = Drovak ] || fail "no uninstall entry"
[ -n "$(value "$key" DisplayVersion)" ] || fail "the entry has no version"
[ -n "$(value "$key" Publisher)" ] || fail "the entry has no publisher"
size=$(value "$key" EstimatedSize)
[ $((size)) -gt 100 ] || fail "the entry's size is '$size'"
value "$key" QuietUninstallString | grep -q '/S$' || fail "no quiet uninstall"
value 'HKCU\Software\Classes\.sav\OpenWithProgids' Drovak.sav >/dev/null ||
    fail "Drovak is not offered for .sav files"
"$wine" reg query 'HKCU\Software\Classes\.sav' /ve 2>/dev/null | grep -q Drovak &&
    fail "the installer took the .sav extension's default"

# The installed program finds its files and opens a new user's set-up (wizard or choice).
(cd "$work" && exec "$wine" "$programs/bin/drovak.exe") >"$outdir/installed.log" 2>&1 &
pid=$!
id=$(wait_window 'Drovak Setup( Wizard)?') || exit 1
sleep 1
xwd_png "$id" "$outdir/installed-wizard.png"
kill "$pid" 2>/dev/null
wineserver -k 2>/dev/null
pid=""

mkdir -p "$appdata/Drovak/backups" "$work/pilots"
echo settings >"$appdata/Drovak/drovak.ini"
echo backup >"$appdata/Drovak/backups/raptor.sav"
echo pilot >"$work/pilots/ace.sav"
ls -R "$appdata/Drovak" "$work/pilots" >"$work/before"

# The uninstaller runs from a copy of itself: it is done when the program is gone.
"$wine" "$programs/Uninstall.exe" /S /CurrentUser >/dev/null 2>&1
tenths=600 wait_for "the uninstaller left drovak.exe" test ! -e "$programs/bin/drovak.exe"
sleep 1
[ -e "$programs" ] && fail "the program's folder stayed: $(ls -R "$programs" | head)"
[ -e "$appdata/Microsoft/Windows/Start Menu/Programs/Drovak.lnk" ] && fail "the shortcut stayed"
"$wine" reg query "$key" >/dev/null 2>&1 && fail "the uninstall entry stayed"
"$wine" reg query 'HKCU\Software\Classes\Drovak.sav' >/dev/null 2>&1 && fail "Open with stayed"
ls -R "$appdata/Drovak" "$work/pilots" >"$work/after"
cmp -s "$work/before" "$work/after" || fail "the user's files changed: $(diff "$work/before" "$work/after")"
echo "win32 install: ok"
