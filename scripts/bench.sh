#!/usr/bin/env bash
# Builds the benchmarks and the program optimised and prints their figures: every Google
# Benchmark program (bench/drovak_bench_*), then the program's start-up against a bare wx
# frame (bench/startup.sh, on a virtual display), then the time from a key to its character on
# screen beside a GTK entry (bench/keylatency.sh). Ends with each figure that has a goal, one
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

echo
echo "Figures beside their goals:"
grep -a '(goal' "$output" | sed 's/\x1b\[[0-9;]*m//g'
