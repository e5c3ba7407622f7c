#!/usr/bin/env bash
# Builds both architectures, each with its test programs: build/i686 (the
# 32-bit release binaries, tested under 32-bit Wine) and build/x86_64 (the same
# code for 64-bit Windows, tested under 64-bit Wine). build/CTestTestfile.cmake
# joins the two trees' tests into one suite.
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

configure i686 -DVANTREL_BUILD_TESTS=ON -DVANTREL_X86_64_BUILD_DIR="$builds/x86_64"
cmake --build "$builds/i686"
configure x86_64 -DVANTREL_BUILD_TESTS=ON -DVANTREL_I686_BUILD_DIR="$builds/i686"
cmake --build "$builds/x86_64"
# One CTest suite over both trees, so that `ctest --test-dir build` runs the
# two architectures' tests together (their names, sessions and desktop locks
# are per architecture).
printf 'subdirs("%s")\n' "$builds/i686" "$builds/x86_64" >"$builds/CTestTestfile.cmake"
