#!/usr/bin/env bash
# The Windows program at 96, 144 and 192 DPI (Wine's LogPixels; run inside xvfb-run on a
# screen big enough):  dpi_win32.sh WINE DROVAK_EXE MAKE_DEMO_EXE OUTDIR
# The window must be 780 design pixels wide at each scale, and at 192 the program's own
# drawing scaled pixel for pixel. Screenshots dpi-N.png and the sizes in dpi-sizes.txt.
set -uo pipefail

wine=$1
drovak=$2
make_demo=$3
outdir=$4
label="win32 dpi"
. "$(dirname "$0")/../e2e/lib.sh"
mkdir -p "$outdir"
rm -f "$outdir"/dpi-*
program=$work/program
wine_prefix

mkdir -p "$program"
cp -r "$(dirname "$drovak")"/. "$program/" || fail "cannot copy the program folder"
cp "$here/../../assets/drovak.ini" "$program/drovak.ini"
"$wine" "$make_demo" "$(windows_path "$program/template.sav")" "$(windows_path "$work/demo")" \
    "$(windows_path "$program")" >/dev/null 2>&1 || fail "drovak_make_demo failed"
ini_set soundOn 0
ini_set showSplashScreen 0

for dpi in 96 144 192; do
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1 || fail "cannot set LogPixels"
    wineserver -w
    (cd "$program" && exec "$wine" ./drovak.exe) >"$outdir/dpi-$dpi.log" 2>&1 &
    pid=$!
    main=$(wait_window "$title") || exit 1
    sleep 3
    xwd_png root "$outdir/dpi-$dpi.png"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    echo "$dpi DPI: window ${WIDTH}x${HEIGHT} at $X,$Y" | tee -a "$outdir/dpi-sizes.txt"
    expected=$((780 * dpi / 96))
    [ "$WIDTH" -ge "$expected" ] && [ "$WIDTH" -le $((expected + 2)) ] ||
        fail "the window is $WIDTH pixels wide at $dpi DPI, not $expected"
    # At a whole factor every design pixel of the program's own drawing (the fields, right of
    # the list and below the menu) is a block of factor by factor screen pixels.
    if ((dpi % 96 == 0)); then
        "$python" - "$outdir/dpi-$dpi.png" $((dpi / 96)) $((X + WIDTH / 2)) $((Y + HEIGHT / 3)) \
            $((X + WIDTH - 8)) $((Y + HEIGHT - 8)) <<'PY' || fail "not pixel for pixel at $dpi DPI"
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
f, left, top, right, bottom = (int(v) for v in sys.argv[2:])
px = image.load()
def blocky(dx, dy):
    return all(px[x, y] == px[x - (x - left - dx) % f, y - (y - top - dy) % f]
               for x in range(left + f, right) for y in range(top + f, bottom))
sys.exit(0 if any(blocky(dx, dy) for dx in range(f) for dy in range(f)) else 1)
PY
    fi
    kill "$pid" 2>/dev/null
    wineserver -k 2>/dev/null
    pid=""
done
echo "win32 dpi: ok"
