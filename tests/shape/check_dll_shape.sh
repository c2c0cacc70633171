#!/bin/sh
# Checks the shape the host and the system rely on in a hook library:
#   check_dll_shape.sh <objdump> <library.dll>
# - exactly three exports: ordinal 1 HookGETMESSAGE, 2 SetHandle, 3 SetHostWindow
#   (on i686 the names may carry their stdcall decoration);
# - a section KZSHARED that is shared, writable data;
# - imports of system libraries only.
set -eu
OBJDUMP=$1
DLL=$2
fail() { echo "$DLL: $*" >&2; exit 1; }

[ -f "$DLL" ] || fail "no such file"
private=$("$OBJDUMP" -p "$DLL")
headers=$("$OBJDUMP" -h "$DLL")

# The ordinal table lists each name with its ordinal less the base.
base=$(echo "$private" | awk '/^Ordinal Base/ {print $3; exit}')
[ -n "$base" ] || fail "no export table"
exports=$(echo "$private" | awk -v base="$base" '
    /^\[Ordinal\/Name Pointer\] Table/ {inside = 1; next}
    inside && /^\t\[/ {gsub(/[\[\]]/, " "); name = $2; sub(/^_/, "", name); sub(/@[0-9]+$/, "", name);
                        print $1 + base, name; next}
    inside {exit}')
expected="1 HookGETMESSAGE
2 SetHandle
3 SetHostWindow"
[ "$(echo "$exports" | sort -n)" = "$expected" ] || fail "exports are
$exports
expected
$expected"

flags=$(echo "$headers" | awk '$2 == "KZSHARED" {getline; print; exit}')
[ -n "$flags" ] || fail "no section KZSHARED"
case "$flags" in *SHARED*) ;; *) fail "KZSHARED is not shared: $flags" ;; esac
case "$flags" in *DATA*) ;; *) fail "KZSHARED is not data: $flags" ;; esac
case "$flags" in *READONLY*) fail "KZSHARED is read-only: $flags" ;; esac

allowed=" ADVAPI32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL "
imports=$(echo "$private" | awk '/DLL Name:/ {print toupper($3)}')
[ -n "$imports" ] || fail "imports nothing"
for name in $imports; do
    case "$allowed" in *" $name "*) ;; *) fail "imports $name, which is not a system library" ;; esac
done
echo "$DLL: ordinals 1-3, shared section KZSHARED, imports $(echo $imports)"
