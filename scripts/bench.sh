#!/usr/bin/env bash
# Measures the filter's latency and CPU cost and the running program's memory
# and idle CPU time, against a minimal hook and a minimal tray program, and
# prints the table with each aim. Installs what is missing, builds both
# architectures, runs the benchmark under Wine on a private Xvfb display with
# a Wine prefix of its own, and stops everything it started.
# Usage: bash scripts/bench.sh [i686|x86_64] [benchmark options, e.g. --samples 1000 --idle-seconds 600]
# The build measured is the first argument's, else VANTREL_BENCH_ARCH's, else
# x86_64's; the i686 build runs under 32-bit Wine in a 64-bit prefix.
# Run it on a quiet machine: other work on the CPUs shows in every figure.
#
# The display, the Wine server and the benchmark are confined to the CPUs in
# VANTREL_BENCH_CPUS (a taskset list, default 0; empty for no confinement). On
# a virtual machine, waking a process on the other virtual CPU costs 50 us and
# more, and unconfined runs here flipped between two regimes six times apart.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# VANTREL_BUILD_ROOT puts the build trees elsewhere (default: build/ here).
builds=${VANTREL_BUILD_ROOT:-$root/build}
arch=${VANTREL_BENCH_ARCH:-x86_64}
case ${1:-} in i686 | x86_64) arch=$1; shift ;; esac
case $arch in
    i686) loader=/usr/lib/wine/wine ;;
    x86_64) loader=/usr/lib/wine/wine64 ;;
    *) echo "bench.sh: no build of architecture '$arch' (i686 or x86_64)" >&2; exit 2 ;;
esac
bash "$root/scripts/install-deps.sh"
if [ "$arch" = i686 ] && ! reason=$(bash "$root/scripts/can-run-32bit.sh" --wine); then
    echo "bench.sh: the i686 build cannot run here: $reason" >&2
    exit 1
fi
VANTREL_BUILD_ROOT="$builds" bash "$root/scripts/build.sh"

bin="$builds/$arch/bin"
# Not the tests' prefix: stopping a session ends every Wine process of its
# prefix, and a test run in the same tree must not lose its programs. Made at
# the start (about 20 s) and removed at the end, so that its 700 MB are not
# kept between runs.
session="$builds/$arch/bench-session"
prefix="$builds/$arch/bench-wineprefix"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

cpus=${VANTREL_BENCH_CPUS-0}
confine=()
[ -n "$cpus" ] && confine=(taskset -c "$cpus")

stop_session() {
    bash "$root/cmake/test-session.sh" stop "$session" "$prefix" >/dev/null 2>&1 || true
    rm -rf "$prefix"
}
trap stop_session EXIT
"${confine[@]}" bash "$root/cmake/test-session.sh" start "$session" "$prefix" "$arch"

echo "Date:       $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Processors: $(nproc), $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1)"
echo "Build:      $arch"
echo "Wine:       $("$loader" --version 2>/dev/null) ($loader)"
echo "Confined:   ${cpus:-no} (CPUs of the display, the Wine server and the benchmark)"
echo "Load:       $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) before the run"
echo

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEARCH=win64
export DISPLAY=":$(cat "$session/display")"
# Bounded well above a default run (three idle minutes and some 5,000 clicks).
status=0
"${confine[@]}" timeout --foreground 3600 "$loader" "$bin/VantrelBench.exe" \
    --i686-bin "$(windows_path "$builds/i686/bin")" --x86_64-bin "$(windows_path "$builds/x86_64/bin")" "$@" </dev/null \
    | tr -d '\r' || status=$?

echo
echo "Load:       $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) after the run"
exit "$status"
