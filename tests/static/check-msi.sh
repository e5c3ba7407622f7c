#!/usr/bin/env bash
# Static checks of a Windows Installer package, read with msiinfo (msitools):
#   check-msi.sh FILE x86|x64
# The 32-bit package's program cannot run here, so its tables are how it is
# tested; the same checks hold the 64-bit one to what its install test saw.
set -u
file=$1 arch=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$file" ] || { echo "FAIL: $file does not exist"; exit 1; }
command -v msiinfo >/dev/null || { echo "FAIL: msiinfo (Debian package msitools) is missing"; exit 1; }
file=$(realpath "$file")
# Exporting a table with binary columns (Icon) writes their streams into a
# folder named after the table, in the current directory.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1

if [ "$arch" = x86 ]; then
    program_files=ProgramFilesFolder template='Intel;1033' component_attributes=0
else
    program_files=ProgramFiles64Folder template='x64;1033' component_attributes=256
fi

# expect_row TABLE PATTERN: some row of TABLE, its fields joined by tabs,
# matches the Perl regular expression whole.
expect_row() {
    msiinfo export "$file" "$1" 2>/dev/null | tr -d '\r' | grep -qxP -- "$2" || fail "table $1 has no row matching: $2"
}
expect_property() { expect_row Property "$1\t$2"; }

expect_property ProductName 'Vantrel'
expect_property ProductVersion '1\.0\.0'
expect_property Manufacturer 'The Vantrel developers'
# The one UpgradeCode of every Vantrel package: a new one would make an
# upgrade install a second product beside the first.
expect_property UpgradeCode '\{5C2D9B1E-7F43-4A8E-9B06-3D1E8A4F2C70\}'
expect_property ALLUSERS '1'
expect_property ARPPRODUCTICON 'Vantrel\.ico'
expect_row Icon 'Vantrel\.ico\t.*'

expect_row Directory "INSTALLDIR\t$program_files\tVantrel"
expect_row Directory "$program_files\tTARGETDIR\t\."
expect_row Directory 'ProgramMenuFolder\tTARGETDIR\t\.'
for component in Program FilterLibrary Readme; do
    expect_row Component "$component\t\{[0-9A-F-]{36}\}\tINSTALLDIR\t$component_attributes\t\t\w+"
done
expect_row File 'VantrelExe\tProgram\tVantrel\.exe\t.*'
expect_row File 'VantrelDll\tFilterLibrary\tVantrelDll\.dll\t.*'
expect_row File 'ReadmeTxt\tReadme\tREADME\.txt\t.*'
# What /INSTALL writes from the install folder: REG_SZ, the path quoted.
expect_row Registry '\w+\t2\tSoftware\\Microsoft\\Windows\\CurrentVersion\\Run\tVantrel\t"\[INSTALLDIR\]Vantrel\.exe"\tProgram'
expect_row Shortcut 'VantrelShortcut\tProgramMenuFolder\tVantrel\tProgram\t\[INSTALLDIR\]Vantrel\.exe\t.*'
expect_row Upgrade '\{5C2D9B1E-7F43-4A8E-9B06-3D1E8A4F2C70\}\t\t1\.0\.0\t\t1\t\tWIX_UPGRADE_DETECTED'
expect_row Upgrade '\{5C2D9B1E-7F43-4A8E-9B06-3D1E8A4F2C70\}\t1\.0\.0\t\t\t2\t\tWIX_DOWNGRADE_DETECTED'
# Same version, either architecture: replaced, so that one Run value exists.
expect_row Upgrade '\{5C2D9B1E-7F43-4A8E-9B06-3D1E8A4F2C70\}\t1\.0\.0\t\t\t256\t\tSAMEVERSIONFOUND'
expect_row LaunchCondition 'NOT WIX_DOWNGRADE_DETECTED\tA newer version of Vantrel is already installed\..*'
expect_row InstallExecuteSequence 'RemoveExistingProducts\t\t\d+'

summary=$(msiinfo suminfo "$file" 2>/dev/null)
grep -qxF "Template: $template" <<<"$summary" || fail "summary template is not $template"
grep -qxF "Author: The Vantrel developers" <<<"$summary" || fail "summary author is not The Vantrel developers"

if [ $failures -gt 0 ]; then
    echo "$file: $failures check(s) failed"
    exit 1
fi
echo "$file: all checks passed"
