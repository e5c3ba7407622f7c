#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and
# this machine lacks: 64-bit Wine always, and 32-bit Wine (the i386
# architecture and wine32) only where this machine runs 32-bit programs.
set -eu
here=$(cd "$(dirname "$0")" && pwd)

packages=(
    cmake ninja-build
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
    googletest
    wine wine64
    xvfb xdotool x11-utils x11-apps imagemagick
    python3 procps zip
    wixl msitools
)

# 32-bit Wine comes second and only after a 32-bit program has run here (the
# kernel may lack or switch off its 32-bit emulation; see can-run-32bit.sh).
# Installed where that fails, it would do harm: Debian's wine wrapper then
# picks the 32-bit loader for Wine's own tools, and `wine reg` or `wine
# wineboot` would stop working. Where it runs, wine32 beside wine64 lets one
# 64-bit prefix run both kinds of program, each with its own loader.
wine32=()
if reason=$(bash "$here/can-run-32bit.sh"); then
    wine32=(wine32:i386)
else
    echo "No 32-bit Wine: $reason; the i686 tests will be skipped"
fi

missing=()
for package in "${packages[@]}" "${wine32[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing from Debian's archive: ${missing[*]}, and what they need"
if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
else
    SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
if [ ${#wine32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
echo "install-deps: reading the archive's package lists"
$SUDO apt-get update -qq
# A first install takes minutes: apt's lines on what it fetches and the disk
# it takes, then a line per 50 packages fetched or set up, so that it is seen
# working (apt's every line would be thousands). Read line by line in the
# shell: mawk, Debian's awk, reads a pipe in blocks, and apt's output is
# line-buffered only through stdbuf.
set -o pipefail
total=0 fetched=0 setup=0
$SUDO stdbuf -oL apt-get install -y -q --no-install-recommends "${missing[@]}" 2>&1 | while IFS= read -r line; do
    case $line in
    *" newly installed"*) total=$(echo "$line" | cut -d' ' -f3); echo "install-deps: $line" ;;
    "Need to get"* | "After this operation"* | "E: "*) echo "install-deps: $line" ;;
    Get:*) fetched=$((fetched + 1)); [ $((fetched % 50)) -ne 0 ] || echo "install-deps: fetched $fetched of $total packages" ;;
    "Setting up "*) setup=$((setup + 1)); [ $((setup % 50)) -ne 0 ] || echo "install-deps: set up $setup of $total packages" ;;
    esac
done
echo "install-deps: done"
