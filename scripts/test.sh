#!/usr/bin/env bash
# Builds Drovak with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
# The last line says how many tests passed and failed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDROVAK_SANITIZE=ON \
    -DDROVAK_TESTS=ON -DDROVAK_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
log=$(mktemp)
status=0
(cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 300) | tee "$log" || status=$?

summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
rm -f "$log"
if [ -z "$summary" ]; then
    echo "tests: 0 passed, 1 failed"
    exit 1
fi
total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
failed=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
echo "tests: $((total - failed)) passed, ${failed} failed"
exit "$status"
