; SPDX-License-Identifier: MIT
; The Windows installer of tevusb, built by make-installer.sh with NSIS:
;   makensis -DVERSION=1.50 -DSTAGE=dir -DOUTFILE=tevusb-setup-1.50.exe tevusb.nsi
; Installs for the current user or for every user of the machine, registers the .tev file
; type and removes on uninstall exactly the files it put there. The flight library
; (%LOCALAPPDATA%\tevusb) is the flyer's and is never touched.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef VERSION | STAGE | OUTFILE
  !error "VERSION, STAGE and OUTFILE must be given"
!endif

!define PRODUCT "tevusb"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\tevusb"
!define FILE_CLASS "tevusb.flight"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh
!include LogicLib.nsh

!define MUI_ICON "${STAGE}/tevusb.ico"
!define MUI_UNICON "${STAGE}/tevusb.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\tevusb.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start tevusb"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "MIT License"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${PRODUCT} needs 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "tevusb"
  SetOutPath "$INSTDIR"
  !include "${STAGE}/../install-files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tevusb.exe" "" "$INSTDIR\tevusb.exe" 0

  ; Double-clicking a flight opens it: SHCTX is the user's or the machine's classes,
  ; whichever the install mode chose.
  WriteRegStr SHCTX "Software\Classes\.tev" "" "${FILE_CLASS}"
  WriteRegStr SHCTX "Software\Classes\.tev" "Content Type" "application/x-tevusb-flight"
  WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}" "" "tevusb flight"
  WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}\DefaultIcon" "" "$INSTDIR\tevusb.exe,0"
  WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}\shell" "" "open"
  WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}\shell\open" "" "Open with tevusb"
  WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}\shell\open\command" "" '"$INSTDIR\tevusb.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tevusb.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegStr SHCTX "Software\${PRODUCT}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "Software\${PRODUCT}" "InstallDir" "$INSTDIR"
SectionEnd

Section "Uninstall"
  ; Only the files this version installed; a folder the flyer put things in stays.
  !include "${STAGE}/../uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; The file type goes only while it is still ours.
  ReadRegStr $0 SHCTX "Software\Classes\.tev" ""
  ${If} $0 == "${FILE_CLASS}"
    DeleteRegKey SHCTX "Software\Classes\.tev"
  ${EndIf}
  DeleteRegKey SHCTX "Software\Classes\${FILE_CLASS}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "Software\${PRODUCT}"
SectionEnd
