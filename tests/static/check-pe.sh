#!/usr/bin/env bash
# Static checks of one built Windows binary, read with the MinGW binutils:
#   check-pe.sh FILE TOOL_PREFIX [--machine ARCH] [--export NAME[@ORDINAL]]...
#               [--plain-exports] [--imports "A.dll B.dll"] [--resource TEXT]...
#               [--resource-in HEAD TEXT]...
# --export NAME: exported under exactly that name (at that ordinal).
# --plain-exports: no export name is decorated: GetProcAddress(module, "Name")
#   finds nothing in a 32-bit DLL that exports a stdcall "Name@4".
# --imports lists every DLL the binary may import, no more and no fewer.
# --resource TEXT must appear in the binary's resources as windres prints them.
# --resource-in HEAD TEXT: TEXT must appear in the one resource statement whose
#   first line starts with HEAD (such as "100 DIALOGEX"), up to its END.
set -u
file=$1 prefix=$2
shift 2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
load_resources() { [ -n "$resources" ] || resources=$("$prefix-windres" -J coff -i "$file" -O rc 2>&1); }

[ -f "$file" ] || { echo "FAIL: $file does not exist"; exit 1; }
headers=$("$prefix-objdump" -p "$file") || { echo "FAIL: objdump cannot read $file"; exit 1; }
resources=""
# The export names with their index in the export address table, "INDEX NAME"
# a line. objdump 2.40 prints "[   0] AddMouseFilter", 2.44 prints
# "[   0] +base[   1]  0000 AddMouseFilter".
export_names=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
    | sed -n 's/^\s*\[ *\([0-9]*\)\].* \([^ ]*\)$/\1 \2/p')

while [ $# -gt 0 ]; do
    case $1 in
    --machine)
        arch=$("$prefix-objdump" -f "$file" | sed -n 's/^architecture: \([^,]*\).*/\1/p')
        [ "$arch" = "$2" ] || fail "architecture is '$arch', expected '$2'"
        shift 2 ;;
    --export)
        name=${2%@*} ordinal=
        [ "$name" = "$2" ] || ordinal=${2#*@}
        index=$(awk -v name="$name" '$2 == name { print $1; exit }' <<<"$export_names")
        if [ -z "$index" ]; then
            fail "export $name missing (or decorated)"
        elif [ -n "$ordinal" ]; then
            # "[   0] +base[   1] 10f4 Export RVA" lines give ordinals by index.
            actual=$(echo "$headers" | sed -n "s/^\s*\[ *$index\] +base\[ *\([0-9]*\)\].*/\1/p" | head -1)
            [ "$actual" = "$ordinal" ] || fail "export $name has ordinal '$actual', expected $ordinal"
        fi
        shift 2 ;;
    --plain-exports)
        decorated=$(awk '$2 ~ /@/ { print $2 }' <<<"$export_names" | xargs)
        [ -z "$decorated" ] || fail "decorated exports: $decorated"
        shift ;;
    --imports)
        actual=$(echo "$headers" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u | xargs)
        expected=$(echo "$2" | tr 'a-z' 'A-Z' | tr ' ' '\n' | sort -u | xargs)
        [ "$actual" = "$expected" ] || fail "imports are '$actual', expected '$expected'"
        shift 2 ;;
    --resource)
        load_resources
        grep -qF -- "$2" <<<"$resources" || fail "resources lack: $2"
        shift 2 ;;
    --resource-in)
        load_resources
        statement=$(awk -v head="$2" 'index($0, head) == 1 { inside = 1 } inside { print } inside && $0 == "END" { exit }' \
            <<<"$resources")
        if [ -z "$statement" ]; then
            fail "resources lack a statement starting: $2"
        else
            grep -qF -- "$3" <<<"$statement" || fail "resource '$2' lacks: $3"
        fi
        shift 3 ;;
    *)
        echo "usage error: $1"; exit 2 ;;
    esac
done

if [ $failures -gt 0 ]; then
    echo "$file: $failures check(s) failed"
    exit 1
fi
echo "$file: all checks passed"
