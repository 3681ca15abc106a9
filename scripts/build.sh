#!/usr/bin/env bash
# Builds the 64-bit and the 32-bit kovar3.dll (and the tests) into build/x64 and build/x86.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
for arch in x64 x86; do
    case $arch in
        x64) toolchain=cmake/mingw-x86_64.cmake ;;
        x86) toolchain=cmake/mingw-i686.cmake ;;
    esac
    if [ ! -f build/$arch/CMakeCache.txt ]; then
        cmake -S . -B build/$arch -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build build/$arch -j "$jobs" "$@"
done
