#!/usr/bin/env bash
# Checks that a Windows program is a 32-bit (PE32) console program that imports system DLLs only.
set -euo pipefail
exe=$1
headers=$(i686-w64-mingw32-objdump -p "$exe")
grep -q 'Magic.*010b.*(PE32)' <<<"$headers" || { echo "$exe: not PE32"; exit 1; }
grep -q 'Subsystem.*00000003' <<<"$headers" || { echo "$exe: not a console program"; exit 1; }
imports=$(awk '/DLL Name:/ {print $3}' <<<"$headers" | sort -u | tr '\n' ' ')
for dll in $imports; do
  case "$dll" in
    KERNEL32.dll | msvcrt.dll) ;;
    *) echo "$exe: imports $dll"; exit 1 ;;
  esac
done
echo "$exe: PE32 console program, imports: $imports"
