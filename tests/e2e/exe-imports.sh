#!/usr/bin/env bash
# skerrow.exe is one self-contained file: it may import only DLLs that every Windows has.
# Usage: exe-imports.sh <skerrow.exe>
set -euo pipefail
imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || { echo "FAIL: no imports read from $1"; exit 1; }
status=0
for dll in $imports; do
    case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | comdlg32.dll | shell32.dll | msvcrt.dll) echo "imports $dll (system)" ;;
    *) echo "FAIL: $1 imports $dll, which Windows does not provide"; status=1 ;;
    esac
done
exit $status
