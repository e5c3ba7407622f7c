#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and
# this machine lacks. Only 64-bit Wine: the 32-bit loader cannot run here, and
# with it installed Debian's wine wrapper would pick it.
set -eu

packages=(
    cmake ninja-build
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
    googletest
    wine wine64
    xvfb xdotool x11-utils x11-apps imagemagick
    python3 procps zip
    wixl msitools
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
else
    SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
