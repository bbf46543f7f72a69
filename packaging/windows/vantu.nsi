; SPDX-FileCopyrightText: 2026 The Vantu developers
; SPDX-License-Identifier: MIT
; Vantu's installer for Windows: both programs in one folder, a Start-menu entry for Vantu and
; one for its Explorer, and an uninstaller that Windows lists among the installed programs.
; Made by scripts/build-windows.sh with NSIS's makensis:
;   makensis -DVERSION=0.2.0 -DBIN=build-windows/bin -DTOP=. -DOUT=vantu-setup.exe vantu.nsi
; Silent as usual for NSIS: vantu-setup.exe /S [/D=FOLDER], uninstall.exe /S.

; A 64-bit installer for 64-bit programs: it runs where they do.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
!include "MUI2.nsh"

!define NAME "Vantu"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantu"

Name "${NAME} ${VERSION}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\${NAME}"
InstallDirRegKey HKLM "${KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

!define MUI_ICON "${BIN}/vantu.ico"
!define MUI_UNICON "${BIN}/vantu.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantu.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Vantu"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${TOP}/LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${NAME} installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "The Vantu developers, MIT licence"

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Vantu"
    SetOutPath "$INSTDIR"
    File "${BIN}/vantu.exe"
    File "${BIN}/vantu-render.exe"
    File "/oname=LICENSE.txt" "${TOP}/LICENSE"
    File "/oname=README.txt" "${TOP}/README.md"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; For every user: the installer runs as an administrator.
    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\${NAME}"
    CreateShortcut "$SMPROGRAMS\${NAME}\Vantu.lnk" "$INSTDIR\vantu.exe" "" \
        "$INSTDIR\vantu.exe" 0 SW_SHOWNORMAL "" "The unit sphere through a kaleidoscope of three mirrors"
    CreateShortcut "$SMPROGRAMS\${NAME}\Vantu Explorer.lnk" "$INSTDIR\vantu.exe" "--explore" \
        "$INSTDIR\vantu.exe" 0 SW_SHOWNORMAL "" "Turn the sphere under the mouse"

    WriteRegStr HKLM "${KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\vantu.exe"
    WriteRegStr HKLM "${KEY}" "Publisher" "The Vantu developers"
    WriteRegStr HKLM "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${NAME}\Vantu.lnk"
    Delete "$SMPROGRAMS\${NAME}\Vantu Explorer.lnk"
    RMDir "$SMPROGRAMS\${NAME}"
    Delete "$INSTDIR\vantu.exe"
    Delete "$INSTDIR\vantu-render.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    ; The folder goes only when nothing of the user's is left in it.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${KEY}"
SectionEnd
