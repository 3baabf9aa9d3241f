#!/usr/bin/env bash
# Builds Drovak optimised and makes its Debian package: build/package/drovak_VERSION_ARCH.deb.
# Install it with `sudo apt install ./build/package/drovak_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh package

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDROVAK_TESTS=OFF \
    -DDROVAK_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j "$(nproc)" --target drovak drovak_make_demo drovak_docs
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/drovak_*.deb
