#!/usr/bin/env bash
# Builds the benchmarks and the program optimised and prints their figures: every Google
# Benchmark program (bench/drovak_bench_*), then the program's start-up against a bare wx
# frame (bench/startup.sh, on a virtual display), the time from a key to its character on
# screen beside a GTK entry (bench/keylatency.sh), then the Windows program's start against a
# bare Win32 window under Wine (bench/startup_win32.sh). Ends with each figure that has a goal, one
# line each as "<figure>: <value> (goal <goal>)", gathered from everything above.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDROVAK_TESTS=OFF \
    -DDROVAK_BENCH=ON -DDROVAK_GUI=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

output=$(mktemp)
trap 'rm -f "$output"' EXIT
for b in "$PWD/$build"/bench/drovak_bench_*; do
    [ -x "$b" ] || continue
    (cd "$build/bench" && "$b") | tee -a "$output"
done
bench/startup.sh "$build" "${DROVAK_STARTUP_RUNS:-9}" | tee -a "$output"
bench/keylatency.sh "$build" "${DROVAK_LATENCY_ROUNDS:-200}" | tee -a "$output"

# The Windows program against a bare Win32 window, both under the same Wine.
win=build/bench-win32
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DDROVAK_GUI=OFF -DDROVAK_TESTS=OFF -DDROVAK_BENCH=ON >/dev/null
cmake --build "$win" -j "$(nproc)" --target drovak drovak_make_demo drovak_bare_window
bench/startup_win32.sh "$win" "${DROVAK_STARTUP_RUNS:-9}" | tee -a "$output"

echo
echo "Figures beside their goals:"
grep -a '(goal' "$output" | sed 's/\x1b\[[0-9;]*m//g'
