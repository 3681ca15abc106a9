#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit kovar3.dll (and the tests) into build/x64 and build/x86.
# Each tree is configured on every run (a second or two when nothing changed), so a changed
# CMake or toolchain file always reaches it.
# Compiler errors are printed once, as the compiler wrote them; the exit code is the build's.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# Object files are shared between checkouts of the project through ccache (when installed).
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd .. && pwd)}
export CCACHE_NOHASHDIR=1
for arch in x64 x86; do
    case $arch in
        x64) toolchain=cmake/mingw-x86_64.cmake ;;
        x86) toolchain=cmake/mingw-i686.cmake ;;
    esac
    cmake -S . -B build/$arch -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/$arch -j "$jobs" "$@" | { grep -v '^\[ *[0-9]*%\]\|^gmake\|^make' || true; }
done
