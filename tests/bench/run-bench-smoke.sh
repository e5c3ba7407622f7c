#!/usr/bin/env bash
# Runs the benchmark with tiny counts and checks that it ended well and printed
# each row of its table, with the counts asked for. Figures are not judged.
# Usage: run-bench-smoke.sh WINE_RUN BENCH_EXE X86_64_BIN_DIR [I686_BIN_DIR]
set -u
wine_run=$1 bench=$2 x86_64_bin=$3 i686_bin=${4:-}

windows_path() { [ -n "$1" ] && printf 'Z:%s' "${1//\//\\}"; }

output=$("$wine_run" "$bench" --samples 5 --storm-events 200 --idle-seconds 1 \
    --x86_64-bin "$(windows_path "$x86_64_bin")" --i686-bin "$(windows_path "$i686_bin")" 2>&1)
status=$?
# A Windows program's standard output ends its lines with CR LF.
output=${output//$'\r'/}
printf '%s\n' "$output"
# The run script's skip status: this build cannot run on this machine.
[ "$status" -eq 77 ] && exit 77

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { grep -Eq -- "$1" <<<"$output" || fail "no line matches: $1"; }

[ "$status" -eq 0 ] || fail "the benchmark exited with status $status"

number='[0-9]+(\.[0-9]+)?'
for row in 'left press, no hook' 'left press, minimal hook' 'left press, filter \(pass path\)' \
    'right press, filter \(remap path\)' 'right press, filter, 20 programs listed'; do
    expect "^  $row +5 +$number +$number\$"
done
for row in 'no hook' 'minimal hook' 'filter'; do
    expect "^  $row +200 +$number +$number\$"
done
# Vantrel.exe is measured when it is built; the minimal program always is.
for row in 'Vantrel.exe, mode Normal' 'Vantrel.exe, mode One'; do
    expect "^  $row +($number +$number +$number +([0-9]+|-)|missing)\$"
done
expect "^  MinimalTrayProgram.exe +$number +$number +$number +([0-9]+|-)\$"
expect "^  new hook installed, old one removed +500 +$number +$number +$number\$"
for row in 'i686 VantrelDll.dll' 'i686 Vantrel.exe' 'x86_64 VantrelDll.dll' 'x86_64 Vantrel.exe'; do
    expect "^  $row +([0-9]+|missing)\$"
done
expect '^  x86_64 VantrelDll.dll +[0-9]+$'
verdict='(meets|misses|unresolved|not measured)'
for aim in 'remap path median' 'remap path, 20 programs listed, vs remap' 'pass path median, vs minimal hook' 'pass path CPU per move, vs minimal hook' \
    'idle CPU per minute, mode Normal' 'idle CPU per minute, mode One' \
    'wake-ups per idle minute, mode Normal' 'wake-ups per idle minute, mode One' \
    'working set, mode Normal, vs minimal' 'private bytes, mode Normal, vs minimal' \
    'working set, mode One, vs minimal' 'private bytes, mode One, vs minimal' 'i686 VantrelDll.dll size'; do
    expect "^  $aim .*$verdict"
done

[ "$failures" -eq 0 ] || { echo "bench-smoke: $failures failure(s)"; exit 1; }
echo "bench-smoke: the benchmark ran and printed its whole table"
