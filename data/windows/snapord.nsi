; The Windows installer of Snapord, made by makensis from the files of the Windows build.
; makensis -DVERSION=<version> -DSTAGE=<folder> -DHELP=<help.chm> -DICON=<snapord.ico> -DOUTFILE=<installer> snapord.nsi
; STAGE is the installed program: snapord.exe and snapord2.ini (the catalogue shipped with it).
; The customer's working folder (orders in progress, the customer's data) lies in the application-data
; folder and is never touched by installing or uninstalling.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Snapord"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "Software\${PRODUCT}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1029 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1029 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "FileDescription" "Instalace programu ${PRODUCT}"
VIAddVersionKey /LANG=1029 "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\snapord.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Spustit ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "${PRODUCT} potřebuje 64bitová Windows."
        Abort
    ${EndIf}
    SetRegView 64
    ; Installed for every user of the computer: so are its Start-menu entries.
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    ; A running program's file cannot be replaced, and a silent installation would skip it and report
    ; success with the old program left in place: the program must be ended first.
    Delete "$INSTDIR\snapord.exe"
    ${If} ${FileExists} "$INSTDIR\snapord.exe"
        MessageBox MB_ICONSTOP "Program ${PRODUCT} je spuštěný. Ukončete ho a spusťte instalaci znovu." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    File "${STAGE}\snapord.exe"
    File "${STAGE}\snapord2.ini"
    File "/oname=help.chm" "${HELP}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\snapord.exe" "" "$INSTDIR\snapord.exe" 0
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\Nápověda.lnk" "$INSTDIR\help.chm"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\Odinstalovat ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "Software\${PRODUCT}" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\snapord.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ; Only the installed files: the customer's orders and data in the application-data folder stay.
    Delete "$INSTDIR\snapord.exe"
    Delete "$INSTDIR\snapord2.ini"
    Delete "$INSTDIR\help.chm"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Nápověda.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Odinstalovat ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\${PRODUCT}"
SectionEnd
