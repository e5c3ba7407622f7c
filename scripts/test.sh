#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs the whole test
# suite under Wine on a private virtual display. Extra arguments go to ctest
# (for example -R registry).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
# VANTREL_BUILD_ROOT puts the build trees elsewhere (default: build/ here).
builds=${VANTREL_BUILD_ROOT:-$root/build}
bash "$root/scripts/install-deps.sh"
VANTREL_BUILD_ROOT="$builds" bash "$root/scripts/build.sh"
# Tests that share the virtual desktop are serialised by CTest resource locks.
ctest --test-dir "$builds/x86_64" --output-on-failure --timeout 600 "$@"
