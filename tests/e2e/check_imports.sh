#!/bin/sh
# The clock must run alone on Windows: a GUI executable of its build's architecture,
# exporting nothing and importing only system DLLs, with the compiler's runtime linked in.
#   check_imports.sh EXE OBJDUMP FORMAT    FORMAT: pei-i386 or pei-x86-64
set -eu
exe=$1 objdump=$2 format=$3
headers=$("$objdump" -p "$exe")
fail=0
echo "$headers" | grep -q "file format $format\$" || { echo "not a $format image"; fail=1; }
echo "$headers" | grep -q '^The Export Tables' && { echo "exports functions"; fail=1; }
echo "$headers" | grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' || { echo "subsystem is not windows (GUI)"; fail=1; }
dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
echo "imports:" $dlls
for dll in $dlls; do
    case $dll in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMCTL32.DLL|SHELL32.DLL|WINMM.DLL|OLE32.DLL|MSVCRT.DLL) ;;
        *) echo "imports a DLL that is not a system DLL: $dll"; fail=1 ;;
    esac
done
for dll in KERNEL32.DLL USER32.DLL GDI32.DLL COMCTL32.DLL SHELL32.DLL WINMM.DLL OLE32.DLL MSVCRT.DLL; do
    echo "$dlls" | grep -qx "$dll" || { echo "expected import missing: $dll"; fail=1; }
done
[ $fail = 0 ] && echo "import list ok"
exit $fail
