#!/bin/sh
# The clock must run alone on Windows: a 32-bit GUI executable importing only
# system DLLs, with the compiler's runtime linked in.
set -eu
exe=$1
headers=$(i686-w64-mingw32-objdump -p "$exe")
fail=0
echo "$headers" | grep -q 'file format pei-i386' || { echo "not a PE32 i386 image"; fail=1; }
echo "$headers" | grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' || { echo "subsystem is not windows (GUI)"; fail=1; }
dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u)
echo "imports:" $dlls
for dll in $dlls; do
    case $dll in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMCTL32.DLL|SHELL32.DLL|WINMM.DLL|MSVCRT.DLL) ;;
        *) echo "imports a DLL that is not a system DLL: $dll"; fail=1 ;;
    esac
done
for dll in KERNEL32.DLL USER32.DLL GDI32.DLL COMCTL32.DLL SHELL32.DLL WINMM.DLL MSVCRT.DLL; do
    echo "$dlls" | grep -qx "$dll" || { echo "expected import missing: $dll"; fail=1; }
done
[ $fail = 0 ] && echo "import list ok"
exit $fail
