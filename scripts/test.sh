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
# The unit tests run side by side; then the end-to-end runs of real windows, one at a time on
# an otherwise idle machine, since their timing is the desktop's. A window test that trips
# over the virtual display's timing gets one more try.
(cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 300 -LE e2e) | tee "$log" ||
    status=$?
(cd "$build" && ctest --output-on-failure --timeout 300 -L e2e --repeat until-pass:2) |
    tee -a "$log" || status=$?

# The installed program and its package, as a packager and a first-time user meet them.
scripts/install-check.sh | tee -a "$log" || status=$?

passed=0
failed=0
if line=$(grep -E '^install checks: [0-9]+ passed, [0-9]+ failed$' "$log"); then
    passed=$(sed -E 's/.*: ([0-9]+) passed.*/\1/' <<<"$line")
    failed=$(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")
else
    failed=1
fi
while read -r line; do
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done < <(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log")
runs=$(grep -c -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" || true)
rm -f "$log"
if [ "$runs" -lt 1 ]; then
    failed=$((failed + 1))
    status=1
fi
echo "tests: ${passed} passed, ${failed} failed"
exit "$status"
