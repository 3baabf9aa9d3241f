#!/usr/bin/env bash
# Builds the benchmarks and the program optimised and prints their figures: the Google
# Benchmark programs, then the program's start-up (bench/startup.sh, on a virtual display).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDROVAK_TESTS=OFF \
    -DDROVAK_BENCH=ON -DDROVAK_GUI=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
for b in "$PWD/$build"/bench/drovak_bench_*; do
    [ -x "$b" ] || continue
    (cd "$build/bench" && "$b")
done
bench/startup.sh "$build" "${DROVAK_STARTUP_RUNS:-5}"
