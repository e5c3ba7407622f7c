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
# Both trees' tests as one suite (build/CTestTestfile.cmake), each named by its
# architecture. Where this machine cannot run 32-bit programs, the i686 tests
# end as skipped with this reason in their output.
if ! reason=$(bash "$root/scripts/can-run-32bit.sh" --wine); then
    echo "The i686 tests will be skipped: $reason"
fi
# Tests that share a tree's virtual desktop are serialised by CTest resource
# locks. A failed test program runs once more: under Wine, real X input and
# the tray answer with delays that a loaded machine can stretch past a bound.
# A fault in the code fails both runs, and the first failure's output stays in
# the log.
ctest --test-dir "$builds" --output-on-failure --timeout 600 --repeat until-pass:2 "$@"
