#!/bin/sh
# Fails when a Windows program imports a DLL that Windows itself does not ship, such as the
# compiler's runtime (libstdc++, libgcc, libwinpthread) or a toolkit.
# Usage: check-imports.sh OBJDUMP PROGRAM.exe...
objdump=$1
shift
status=0
for exe in "$@"; do
    dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
    echo "$(basename "$exe") imports:" $dlls
    [ -n "$dlls" ] || { echo "  no imports found"; status=1; }
    for dll in $dlls; do
        case $dll in
            kernel32.dll | user32.dll | gdi32.dll | shell32.dll | comctl32.dll | winmm.dll | \
                advapi32.dll | msvcrt.dll | ole32.dll | shlwapi.dll | comdlg32.dll) ;;
            *) echo "  $dll is not part of Windows"; status=1 ;;
        esac
    done
done
exit $status
