; The Platterbook installer: for the user alone or for all users, a Start
; menu entry, and an uninstaller that leaves the user's catalogue alone.
;   makensis -DVERSION=1.0 -DSOURCE=<portable folder> -DICON=<ico> -DOUTFILE=<exe> installer.nsi
Unicode true
Target amd64-unicode

!define APP "Platterbook"
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
RequestExecutionLevel user

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Platterbook"
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  ; An installed program keeps its catalogue in the user's own data folder.
  FileOpen $0 "$INSTDIR\platterbook.installed" w
  FileWrite $0 "installed by the Platterbook installer$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\platterbook.exe" "" "$INSTDIR\platterbook.exe" 0
  WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}" "DisplayName" "${APP}"
  WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}" "DisplayIcon" "$INSTDIR\platterbook.exe"
  WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
SectionEnd

; Only what the installer put there goes; the catalogue in the user's data
; folder and the settings stay.
Section "Uninstall"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\fonts"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\platterbook.exe"
  Delete "$INSTDIR\platterbook.installed"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
SectionEnd
