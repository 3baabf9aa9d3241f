#!/usr/bin/env bash
# Builds Drovak and starts it. On a machine without the game, the first start opens on a
# demo set-up (a game folder and a few pilots made from our own template), so the editor can
# be tried at once; with the game installed, the first start asks for its folder instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run

build=build/app
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVAK_TESTS=OFF \
    -DDROVAK_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

bin="$build/bin"
game="${WINEPREFIX:-$HOME/.wine}/drive_c/Program Files/Novalogic/F-22 Raptor"
if grep -q $'^firstRun = 1\r$' "$bin/drovak.ini" && [ ! -f "$game/raptor.sav" ]; then
    "$build/tools/demo/drovak_make_demo" "$bin/template.sav" "$build/demo" "$bin"
    echo "No F-22 Raptor found: starting on the demo set-up in $build/demo"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "drovak: no display to open a window on (set DISPLAY, or run it under xvfb-run)" >&2
    exit 1
fi
exec "$bin/drovak" "$@"
