#!/usr/bin/env bash
# Installs the Debian packages Drovak needs, only those missing. Runs as root, or through sudo.
#
#   install-deps.sh run      what building and running the program need (scripts/run.sh)
#   install-deps.sh package  that and what making the Debian package needs (scripts/package.sh)
#   install-deps.sh          everything: the tests, the second compiler and fuzz targets, the
#                            package checks, the Windows program's cross compiler and Wine
#
# (The --windows of earlier versions is still accepted; it adds nothing now.)
set -euo pipefail

run=(
    # build
    build-essential cmake ninja-build pkg-config
    # the desktop toolkit, GTK's own headers (the canvases speak to screen readers through its
    # ATK) and the event sounds
    libwxgtk3.2-dev libgtk-3-dev libcanberra-dev libcanberra-gtk3-module libcanberra-pulse
    # the desktop's trash and its document handlers (GIO)
    libglib2.0-dev
    # opening documents and mail with the desktop's programs
    xdg-utils
)
package=(
    # the package, its manual and changelog
    dpkg-dev file gzip
)
rest=(
    git
    # the second compiler and the fuzz targets: libFuzzer and Clang's sanitizer runtimes, and
    # the symbolizer that puts file and line into their reports
    clang libclang-rt-14-dev llvm
    # tests and benchmarks (the start-up benchmark finds the program's process with pgrep)
    googletest libgtest-dev libgmock-dev libbenchmark-dev time procps
    # end-to-end tests under a virtual display, one with a window manager
    xvfb xauth xdotool x11-utils x11-apps openbox
    # the accessibility bus and its Python reader, for the screen-reader test
    dbus at-spi2-core python3-pyatspi
    # asset generators and the Python checks of the tests; the condensed DejaVu faces are in
    # fonts-dejavu-extra
    python3 python3-pil python3-xlib fonts-dejavu-core fonts-dejavu-extra
    # formatting
    clang-format
    # the checks of the installed files
    lintian desktop-file-utils appstream man-db
    # the Windows program: mingw-w64's POSIX-threads compilers (std::thread), its resource
    # compiler, and Wine to run the program and its tests (GoogleTest's sources, built for
    # it, come with googletest above)
    g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64
    # the Windows installer (CPack's NSIS generator)
    nsis
)

case "${1:-all}" in
run) packages=("${run[@]}") ;;
package) packages=("${run[@]}" "${package[@]}") ;;
all | --windows) packages=("${run[@]}" "${package[@]}" "${rest[@]}") ;;
*)
    echo "usage: install-deps.sh [run|package]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
