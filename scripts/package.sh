#!/usr/bin/env bash
# Builds Drovak optimised and makes its Debian package: build/package/drovak_VERSION_ARCH.deb.
# Install it with `sudo apt install ./build/package/drovak_*.deb`. Then cross-builds the
# Windows program and makes its installer and portable zip beside it:
# build/package/Drovak-VERSION-windows-x86_64-setup.exe and -portable.zip.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh package

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDROVAK_TESTS=OFF \
    -DDROVAK_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j "$(nproc)" --target drovak drovak_make_demo drovak_docs
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/drovak_*.deb

# The Windows packages: the program alone is built (no tests, so no Wine is needed).
win=build/package-win32
cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DDROVAK_GUI=OFF -DDROVAK_TESTS=OFF -DDROVAK_BENCH=OFF >/dev/null
cmake --build "$win" -j "$(nproc)" --target drovak
(cd "$win" && cpack >/dev/null)
cp "$win"/Drovak-*-windows-x86_64-setup.exe "$win"/Drovak-*-windows-x86_64-portable.zip "$build"/
ls "$build"/Drovak-*-windows-x86_64-*
