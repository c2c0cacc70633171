#!/bin/sh
# Exits 0 when this machine can execute 32-bit x86 Linux programs. Some
# kernels have their 32-bit emulation switched off; there a 32-bit Wine
# cannot start, and installing it even breaks Debian's `wine` wrapper.
# The probe is a 94-byte static i386 program that exits with code 7.
set -eu
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\136\000\000\000\136\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\007\000\000\000\315\200' >"$probe"
chmod +x "$probe"
rc=0
"$probe" 2>/dev/null || rc=$?
[ "$rc" -eq 7 ]
