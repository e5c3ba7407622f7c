#!/usr/bin/env bash
# Builds both architectures and makes the release packages, each with a .sha256:
#   build/packages/Vantrel-<version>-win32.zip and -win64.zip (folder copies),
#   build/packages/Vantrel-<version>-x86.msi and -x64.msi (Windows Installer,
#   built with wixl as part of each tree's build),
#   build/packages/Vantrel-<version>-policies.zip (Group Policy templates).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
builds=${VANTREL_BUILD_ROOT:-$root/build}
bash "$root/scripts/install-deps.sh"
VANTREL_BUILD_ROOT="$builds" bash "$root/scripts/build.sh"
mkdir -p "$builds/packages"
for arch in i686 x86_64; do
    cmake --build "$builds/$arch" --target package >/dev/null
    cp "$builds/$arch"/packages/Vantrel-*.zip "$builds/$arch"/packages/Vantrel-*.zip.sha256 "$builds/packages/"
    for msi in "$builds/$arch"/packages/Vantrel-*.msi; do
        cp "$msi" "$builds/packages/"
        # The same form as CPack's for the zips: "<hash>  <file name>".
        (cd "$builds/packages" && sha256sum "$(basename "$msi")" >"$(basename "$msi").sha256")
    done
done
# The templates as Windows keeps them: Vantrel.admx, en-US/Vantrel.adml.
version=$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
policies=Vantrel-$version-policies.zip
rm -f "$builds/packages/$policies"
(cd "$root/installer/policies" && zip -qX "$builds/packages/$policies" Vantrel.admx en-US/Vantrel.adml)
(cd "$builds/packages" && sha256sum "$policies" >"$policies.sha256")
ls -1 "$builds/packages"/*
