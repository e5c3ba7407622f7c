#!/usr/bin/env bash
# Answers whether this machine runs 32-bit x86 programs: exit status 0 if so,
# else 1 with the reason on standard output.
# Usage: can-run-32bit.sh [--wine]   (--wine: Debian's 32-bit Wine loader too)
# VANTREL_NO_32BIT=1 makes it answer no, to show how the suite behaves on a
# machine without 32-bit support.
#
# The only reliable answer is to run one: a kernel may be 64-bit with its
# 32-bit emulation left out or switched off (ia32_emulation=0), which neither
# uname nor dpkg's architecture tells. The program is the smallest static
# 32-bit ELF, written byte for byte here so that no 32-bit compiler or library
# is needed before the answer is known: one loadable segment whose code makes
# the exit system call (int 0x80, eax 1) with status 42.
set -u
if [ "${VANTREL_NO_32BIT:-0}" != 0 ]; then
    echo "VANTREL_NO_32BIT=$VANTREL_NO_32BIT says this machine cannot run 32-bit programs"
    exit 1
fi
program=$(mktemp "${TMPDIR:-/tmp}/vantrel-elf32.XXXXXX") || { echo "cannot write a temporary file"; exit 1; }
trap 'rm -f "$program"' EXIT
# ELF header: 32-bit, little-endian, executable, i386, entry 0x08048054, one
# program header at offset 52. Program header: PT_LOAD of the file's 96 bytes
# at 0x08048000, readable and executable. Code: mov eax,1; mov ebx,42; int 0x80.
printf '%b' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
    '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$program"
chmod +x "$program"
"$program" 2>/dev/null
status=$?
if [ "$status" -ne 42 ]; then
    echo "a 32-bit program does not run here (exit status $status instead of 42: no 32-bit support in the kernel)"
    exit 1
fi
if [ "${1:-}" = --wine ] && [ ! -x /usr/lib/wine/wine ]; then
    echo "32-bit Wine is not installed (/usr/lib/wine/wine: Debian's wine32, added by scripts/install-deps.sh)"
    exit 1
fi
exit 0
