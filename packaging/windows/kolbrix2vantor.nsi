; The Windows installer of kolbrix2vantor: per user, without administrator
; rights, in Japanese. Built by scripts/windows_package.sh, which defines
;   VERSION  the project's version (x.y.z), from CMake
;   STAGE    the folder that holds the files to install
;   LISTS    the folder of the generated file lists install_files.nsh and
;            uninstall_files.nsh (every file, and every folder, by name, of
;            the tree `cmake --install` made), the icon and the licence page
;   OUTFILE  the installer to write
; Silent use: setup.exe /S [/D=C:\folder]; the uninstaller: uninstall.exe /S.

Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define APPNAME "kolbrix2vantor"
!define DISPLAYNAME "Kolbrix → Vantor 変換プログラム"
!define PUBLISHER "The kolbrix2vantor developers"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APPNAME}"
!define MENUFOLDER "$SMPROGRAMS\${APPNAME}"
!define WINDOWLINK "Kolbrix → Vantor 変換プログラム.lnk"
!define BATCHLINK "Kolbrix → Vantor 一括変換.lnk"
!define GUIDELINK "使い方の手引き.lnk"
!define UNINSTLINK "アンインストール.lnk"

Name "${DISPLAYNAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APPNAME}"
InstallDirRegKey HKCU "${UNINSTKEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "${DISPLAYNAME} セットアップ"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "MIT License"

!define MUI_ICON "${LISTS}\kolbrix2vantor.ico"
!define MUI_UNICON "${LISTS}\kolbrix2vantor.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LISTS}\license-page.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kolbrix2vantor-gui.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\guide.ja.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "使い方の手引きを開く"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Install"
  ; An earlier version is removed by its own uninstaller first, wherever it
  ; was installed, so that no file of it stays and one entry remains.
  ReadRegStr $0 HKCU "${UNINSTKEY}" "InstallLocation"
  StrCmp $0 "" fresh
  IfFileExists "$0\uninstall.exe" 0 fresh
  ExecWait '"$0\uninstall.exe" /S _?=$0'
  Delete "$0\uninstall.exe"
  RMDir "$0"
fresh:

  !include "${LISTS}\install_files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${MENUFOLDER}"
  CreateShortcut "${MENUFOLDER}\${WINDOWLINK}" "$INSTDIR\kolbrix2vantor-gui.exe" "" "$INSTDIR\kolbrix2vantor-gui.exe" 0
  CreateShortcut "${MENUFOLDER}\${BATCHLINK}" "$INSTDIR\kolbrix2vantor-gui.exe" "--batch" \
    "$INSTDIR\kolbrix2vantor-gui.exe" 0
  CreateShortcut "${MENUFOLDER}\${GUIDELINK}" "$INSTDIR\guide.ja.html"
  CreateShortcut "${MENUFOLDER}\${UNINSTLINK}" "$INSTDIR\uninstall.exe"

  ; The entry of Apps & Features.
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "${DISPLAYNAME}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\kolbrix2vantor-gui.exe,0"
  WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTKEY}" "EstimatedSize" $1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Exactly the files it installed, then their folders when nothing else is
  ; left in them: converted data and Radudi32.ini are never touched.
  !include "${LISTS}\uninstall_files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${MENUFOLDER}\${WINDOWLINK}"
  Delete "${MENUFOLDER}\${BATCHLINK}"
  Delete "${MENUFOLDER}\${GUIDELINK}"
  Delete "${MENUFOLDER}\${UNINSTLINK}"
  RMDir "${MENUFOLDER}"
  DeleteRegKey HKCU "${UNINSTKEY}"
SectionEnd
