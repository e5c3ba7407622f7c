#!/usr/bin/env bash
# Builds both architectures and makes the release packages:
#   build/packages/Vantrel-<version>-win32.zip and -win64.zip, each with a .sha256.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
builds=${VANTREL_BUILD_ROOT:-$root/build}
bash "$root/scripts/install-deps.sh"
VANTREL_BUILD_ROOT="$builds" bash "$root/scripts/build.sh"
mkdir -p "$builds/packages"
for arch in i686 x86_64; do
    cmake --build "$builds/$arch" --target package >/dev/null
    cp "$builds/$arch"/packages/Vantrel-*.zip "$builds/$arch"/packages/Vantrel-*.zip.sha256 "$builds/packages/"
done
ls -1 "$builds/packages"/*
