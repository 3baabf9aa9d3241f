#!/usr/bin/env bash
# Builds Drovak with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test; then
# builds it once more with Clang and gives each fuzz target a short run on its seeds; then
# cross-builds the Windows program and its tests with mingw-w64 and runs them under Wine; then
# builds the Debian package and checks the installed program (scripts/install-check.sh).
# The last line says how many tests passed and failed (a build that fails counts as one
# failed test). DROVAK_WERROR=1 makes every compiler warning an error, as CI does.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

werror=OFF
if [ "${DROVAK_WERROR:-0}" != 0 ]; then
    werror=ON
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
log=$(mktemp)
status=0
broken=0 # builds that failed

build=build/test
if cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDROVAK_SANITIZE=ON \
    -DDROVAK_TESTS=ON -DDROVAK_BENCH=OFF -DDROVAK_WERROR="$werror" >/dev/null &&
    cmake --build "$build" -j "$(nproc)"; then
    # The unit tests run side by side; then the end-to-end runs of real windows, one at a
    # time on an otherwise idle machine, since their timing is the desktop's. A window test
    # that trips over the virtual display's timing gets one more try.
    (cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 300 -LE e2e) |
        tee "$log" || status=$?
    (cd "$build" && ctest --output-on-failure --timeout 300 -L e2e --repeat until-pass:2) |
        tee -a "$log" || status=$?
else
    echo "the GCC build failed"
    broken=$((broken + 1))
fi

# Clang warns about other things than GCC and alone builds the fuzz targets: the whole
# project once with it, benchmarks included, then each fuzz target for a short while.
clang_build=build/clang
if cmake -S . -B "$clang_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DDROVAK_FUZZ=ON -DDROVAK_TESTS=ON -DDROVAK_BENCH=ON \
    -DDROVAK_WERROR="$werror" >/dev/null &&
    cmake --build "$clang_build" -j "$(nproc)"; then
    (cd "$clang_build" && ctest --output-on-failure -j "$(nproc)" -L fuzz) | tee -a "$log" ||
        status=$?
else
    echo "the Clang build failed"
    broken=$((broken + 1))
fi

# The Windows program: drovak.exe and the test programs cross-built with mingw-w64, the tests
# run under Wine (CTest puts Wine before each program) in a Wine prefix of this build's own,
# made afresh each run, then drovak.exe itself driven under Wine on a virtual display.
win_build=build/win32
win_prefix=$PWD/$win_build/wineprefix
rm -rf "$win_prefix"
if cmake -S . -B "$win_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DDROVAK_GUI=OFF -DDROVAK_TESTS=ON -DDROVAK_BENCH=OFF \
    -DDROVAK_WERROR="$werror" >/dev/null &&
    (
        # The build runs the test programs too, to list their cases. Mono and Gecko are left
        # out of the prefix: nothing here needs them, and they would take minutes to set up.
        export WINEPREFIX=$win_prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        wineboot -i >/dev/null 2>&1
        cmake --build "$win_build" -j "$(nproc)"
    ); then
    (
        export WINEPREFIX=$win_prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        cd "$win_build"
        status=0
        # Wine now and then fails to start a test program at all (it ends at once, saying
        # nothing): such a test gets one more try, as the window runs do.
        ctest --output-on-failure -j "$(nproc)" --timeout 300 -LE e2e --repeat until-pass:2 ||
            status=$?
        ctest --output-on-failure --timeout 300 -L e2e --repeat until-pass:2 || status=$?
        wineserver -k 2>/dev/null || true
        exit "$status"
    ) | tee -a "$log" || status=$?
else
    echo "the Windows build failed"
    broken=$((broken + 1))
fi

# The installed program and its package, as a packager and a first-time user meet them.
scripts/install-check.sh | tee -a "$log" || status=$?

passed=0
failed=$broken
if line=$(grep -E '^install checks: [0-9]+ passed, [0-9]+ failed$' "$log"); then
    passed=$(sed -E 's/.*: ([0-9]+) passed.*/\1/' <<<"$line")
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")))
else
    failed=$((failed + 1))
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
fi
if [ "$failed" -gt 0 ]; then
    status=1
fi
echo "tests: ${passed} passed, ${failed} failed"
exit "$status"
