; The Windows installer of ルペタ: for the user alone (no administrator), into
; %LOCALAPPDATA%\Programs\rupeta, with a Start-menu entry, the session autostart and an
; uninstaller in the user's list of apps. Runs silently with /S.
;
; Made by packaging/windows/CMakeLists.txt, which defines VERSION, PROGRAM, CHIME, ICON, DOCS
; (a folder with README.txt and LICENSE.txt) and OUTFILE.
;   makensis -DVERSION=... -DPROGRAM=... ... rupeta.nsi

Unicode true
; A 32-bit installer does nothing at all under a 64-bit-only Windows layer and still ends
; with 0; the program is 64-bit anyway.
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh

!define NAME "ルペタ"
!define PUBLISHER "ルペタ developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\rupeta"

Name "${NAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
; An ASCII folder: the path appears in the shortcuts and in the list of apps, and tools in
; any code page can handle it; the user sees the Japanese name in the Start menu.
InstallDir "$LOCALAPPDATA\Programs\rupeta"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "${NAME} セットアップ"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; A running copy holds rupeta.exe open; taskkill without /F asks it to close, so it saves its
; settings on the way out. Its end is awaited by trying to remove the file it runs from, which
; Windows refuses while the program runs.
!macro EndRunningCopy un
Function ${un}EndRunningCopy
    ${IfNot} ${FileExists} "$INSTDIR\rupeta.exe"
        Return ; nothing installed here that could be running
    ${EndIf}
    nsExec::Exec '"$SYSDIR\taskkill.exe" /im rupeta.exe'
    Pop $0
    ${If} $0 <> 0
        Return ; no copy was running
    ${EndIf}
    StrCpy $1 0
    ${Do}
        ClearErrors
        Delete "$INSTDIR\rupeta.exe"
        ${IfNot} ${FileExists} "$INSTDIR\rupeta.exe"
            Return
        ${EndIf}
        IntOp $1 $1 + 1
        ${If} $1 >= 50
            ; Still running after 5 s (a dialog that does not close, say): end it the hard way.
            nsExec::Exec '"$SYSDIR\taskkill.exe" /f /im rupeta.exe'
            Pop $0
            Sleep 500
            Return
        ${EndIf}
        Sleep 100
    ${Loop}
FunctionEnd
!macroend
!insertmacro EndRunningCopy ""
!insertmacro EndRunningCopy "un."

Section "${NAME}"
    SetShellVarContext current
    Call EndRunningCopy
    SetOutPath "$INSTDIR"
    File "/oname=rupeta.exe" "${PROGRAM}"
    File "/oname=beep.wav" "${CHIME}"
    File "${DOCS}/README.txt"
    File "${DOCS}/LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; A shortcut starts the program in its "Start in" folder, which CreateShortcut takes from
    ; the output path: the user's profile folder, where rupeta.ini then lives. (A Run value
    ; in the registry has no working directory of its own.)
    SetOutPath "$PROFILE"
    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\rupeta.exe" "" "$INSTDIR\rupeta.exe" 0
    CreateShortcut "$SMSTARTUP\${NAME}.lnk" "$INSTDIR\rupeta.exe" "" "$INSTDIR\rupeta.exe" 0
    SetOutPath "$INSTDIR"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rupeta.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KB, as the list of apps shows it.
    SectionGetSize 0 $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes exactly what the installer put there. rupeta.ini lives in the working directory
; (the profile folder when started from the shortcuts) and is the user's: it stays, and so
; does the program folder if the program was ever run there.
Section "Uninstall"
    SetShellVarContext current
    Call un.EndRunningCopy
    Delete "$SMPROGRAMS\${NAME}.lnk"
    Delete "$SMSTARTUP\${NAME}.lnk"
    Delete "$INSTDIR\rupeta.exe"
    Delete "$INSTDIR\beep.wav"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
