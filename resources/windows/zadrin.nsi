; Zadrin's installer: per user, without administrator rights. The Start-menu entry starts Zadrin in
; %APPDATA%\Zadrin, so Zadrin.ini lives there; uninstalling leaves that file alone.
; makensis -DVERSION=… -DEXE=path\to\zadrin.exe -DOUTFILE=… zadrin.nsi
; 64-bit, like the program it installs (and so it runs where Wine has no 32-bit part).
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"

Name "Zadrin"
OutFile "${OUTFILE}"
RequestExecutionLevel user
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zadrin"
InstallDir "$LOCALAPPDATA\Programs\Zadrin"
; An installed Zadrin is upgraded where it is, also in a folder the user chose.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
; The installer holds no file dates of the machine that made it: the same source makes the same bytes.
SetDateSave off

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductName" "Zadrin"
VIAddVersionKey /LANG=1031 "FileDescription" "Zadrin ${VERSION} installieren"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "© 2026 Zadrin"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; A running Zadrin keeps its program file: the user is asked to close it first, both when installing
; (PREFIX "", WHAT "ersetzt") and when uninstalling (PREFIX "un.", WHAT "entfernt"). Silently, the
; installer or uninstaller ends with status 2 and changes nothing.
!macro CLOSE_RUNNING_ZADRIN PREFIX WHAT
Function ${PREFIX}CloseRunningZadrin
    IfFileExists "$INSTDIR\zadrin.exe" 0 done
    retry:
        ClearErrors
        FileOpen $0 "$INSTDIR\zadrin.exe" a
        IfErrors 0 closed
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Zadrin läuft gerade und kann nicht ${WHAT} werden.$\n$\nBitte schließen Sie Zadrin und versuchen Sie es erneut." \
            /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
    closed:
        FileClose $0
    done:
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_ZADRIN "" "ersetzt"
!insertmacro CLOSE_RUNNING_ZADRIN "un." "entfernt"

Section "Zadrin"
    SetShellVarContext current
    Call CloseRunningZadrin
    SetOutPath "$INSTDIR"
    File "/oname=zadrin.exe" "${EXE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcut's working folder is the folder set last: where the settings file will be.
    CreateDirectory "$APPDATA\Zadrin"
    SetOutPath "$APPDATA\Zadrin"
    CreateShortcut "$SMPROGRAMS\Zadrin.lnk" "$INSTDIR\zadrin.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zadrin"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zadrin.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Zadrin"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://zadrin.example"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Call un.CloseRunningZadrin
    Delete "$SMPROGRAMS\Zadrin.lnk"
    Delete "$INSTDIR\zadrin.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; $APPDATA\Zadrin keeps the user's Zadrin.ini; without it, the folder goes too.
    RMDir "$APPDATA\Zadrin"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
