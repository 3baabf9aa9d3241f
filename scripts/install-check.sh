#!/usr/bin/env bash
# Checks Drovak as a packager and a first-time user meet it: the Debian package (lintian), a
# `cmake --install` into a staging prefix made read-only, the installed program's command
# line without a display and its first start under Xvfb with a fresh home (the wizard, then
# the settings in ~/.config/drovak), nothing written into the prefix, and the desktop entry,
# metainfo and man page as their validators read them. Ends with "install checks: N passed,
# M failed". Screenshots land in build/package/artefacts/.
set -uo pipefail
cd "$(dirname "$0")/.."

build=build/package
artefacts=$PWD/$build/artefacts
passed=0
failed=0
check() { # NAME COMMAND...: one check, its output shown only when it fails
    local name=$1 out
    shift
    if out=$("$@" 2>&1); then
        passed=$((passed + 1))
        echo "PASS $name"
    else
        failed=$((failed + 1))
        echo "FAIL $name"
        printf '%s\n' "$out" | sed 's/^/    /'
    fi
}
finish() {
    echo "install checks: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

if ! scripts/package.sh >/dev/null; then
    failed=$((failed + 1))
    echo "FAIL the package build"
    finish
fi
version=$(sed -nE 's/^project\(drovak VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
deb=$(ls "$build"/drovak_"$version"_*.deb)

stage_root=$(mktemp -d)
stage=$stage_root/prefix
home=$(mktemp -d)
trap 'chmod -R u+w "$stage_root"; rm -rf "$stage_root" "$home"' EXIT
cmake --install "$build" --prefix "$stage" >/dev/null
snapshot() { (cd "$stage" && find . -printf '%p %y %s %T@\n' | sort); }
before=$(snapshot)
chmod -R a-w "$stage"
drovak=$stage/bin/drovak

lintian_errors() {
    local out
    out=$(lintian --tag-display-limit 0 "$deb" 2>&1)
    printf '%s\n' "$out"
    ! grep -q '^E:' <<<"$out"
}
check "lintian finds no error in $(basename "$deb")" lintian_errors
check "the package depends on what dpkg-shlibdeps found" \
    bash -c "dpkg-deb -f '$deb' Depends | grep -q libwx"

# The command line needs no display, and takes the version from the project.
check "drovak --version without a display" \
    bash -c "env -u DISPLAY HOME='$home' '$drovak' --version | grep -qx 'drovak $version'"
check "drovak show without a display" \
    bash -c "env -u DISPLAY HOME='$home' '$drovak' show '$stage/share/drovak/template.sav' |
             grep -q '^callsign: '"
check "the window without a display fails, naming DISPLAY" \
    bash -c "out=\$(env -u DISPLAY HOME='$home' '$drovak' 2>&1); [ \$? -ne 0 ] &&
             grep -q DISPLAY <<<\"\$out\""

check "the first start: wizard, then ~/.config/drovak/drovak.ini" \
    env ASAN_OPTIONS=detect_leaks=0 timeout 150 xvfb-run -a -s "-screen 0 1024x768x24" \
    tests/e2e_app/drive_app.sh "$drovak" "$build/tools/demo/drovak_make_demo" installed \
    "$artefacts"
same_prefix() {
    diff <(printf '%s\n' "$before") <(snapshot)
}
check "nothing was written inside the prefix" same_prefix

check "desktop-file-validate" \
    desktop-file-validate "$stage/share/applications/drovak.desktop"
check "appstreamcli validate --no-net" \
    appstreamcli validate --no-net "$stage/share/metainfo/org.example.drovak.metainfo.xml"
man_warnings() {
    local err
    err=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$stage/share/man/man1/drovak.1.gz" 2>&1 >/dev/null)
    printf '%s' "$err"
    [ -z "$err" ]
}
check "man -l drovak.1 without warnings" man_warnings
check "hicolor icons at 16 to 256 pixels" /usr/bin/python3 -c "
import sys
from PIL import Image
for s in (16, 24, 32, 48, 64, 128, 256):
    if Image.open('$stage/share/icons/hicolor/%dx%d/apps/drovak.png' % (s, s)).size != (s, s):
        sys.exit('wrong size: %d' % s)"
finish
