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
# Each tree's tests are shared out among its lanes (sessions of their own:
# display, prefix, Wine server; see cmake/WineTests.cmake), and tests that use
# a lane's desktop run one at a time there (CTest resource locks). One job
# per lane of each tree lets both trees' lanes run side by side.
lanes=$(sed -n 's/^VANTREL_TEST_LANES:STRING=//p' "$builds/x86_64/CMakeCache.txt" 2>/dev/null)
jobs=${VANTREL_TEST_JOBS:-$((2 * ${lanes:-1}))}
# A failed test program runs once more: under Wine, real X input and the tray
# answer with delays that a loaded machine can stretch past a bound. A fault
# in the code fails both runs, and the first failure's output stays in the
# log; the names of the tests that needed a second run are printed at the
# end, so that a flaky test is seen.
status=0
ctest --test-dir "$builds" --output-on-failure --timeout 600 --repeat until-pass:2 -j "$jobs" "$@" || status=$?
awk '/^[0-9]+\/[0-9]+ Test: / { name = $3; runs[name]++ }
    /^Test Passed\./ { passed[name] = 1 }
    END { for (n in runs) if (runs[n] > 1) print "  " n (passed[n] ? " (passed on its second run)" : " (failed twice)") }' \
    "$builds/Testing/Temporary/LastTest.log" 2>/dev/null | sort >"$builds/Testing/Temporary/SecondRuns.txt"
if [ -s "$builds/Testing/Temporary/SecondRuns.txt" ]; then
    echo "Tests that needed a second run:"
    cat "$builds/Testing/Temporary/SecondRuns.txt"
else
    echo "No test needed a second run."
fi
exit "$status"
