#!/usr/bin/env bash
# Builds both architectures: build/i686 (the 32-bit release binaries) and
# build/x86_64 (the same code for 64-bit Windows, plus the test programs that
# run under Wine here).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
# VANTREL_BUILD_ROOT puts the build trees elsewhere (default: build/ here).
builds=${VANTREL_BUILD_ROOT:-$root/build}
cd "$root"

configure() {
    local arch=$1
    shift
    # CMake reads a toolchain file only when it first configures a tree, and
    # on a later run warns that the variable went unused.
    local toolchain=()
    [ -f "$builds/$arch/CMakeCache.txt" ] ||
        toolchain=(-DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch-w64-mingw32.cmake")
    cmake -S . -B "$builds/$arch" -G Ninja "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure i686 -DVANTREL_BUILD_TESTS=OFF
cmake --build "$builds/i686"
configure x86_64 -DVANTREL_BUILD_TESTS=ON -DVANTREL_I686_BUILD_DIR="$builds/i686"
cmake --build "$builds/x86_64"
