; The installer of the desktop program for 64-bit Windows, made by scripts/windows/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DSIZE_KB=... -DFILES_DIR=<lists>
;            -DOUT_FILE=<setup.exe> [-DICON=<orbisk.ico>] orbisk.nsi
; FILES_DIR holds install-files.nsh (the program's folder, file by file) and
; uninstall-files.nsh (the same files to delete): the uninstaller removes what was installed
; and nothing else, so the INI and the folder «Данные» the program keeps beside itself when it
; may write there stay, as do its files in the user's folders.
; "/S" installs and uninstalls without a question; "/D=<folder>" (last) names another folder.
; A 64-bit installer for a 64-bit program: it also runs where only 64-bit programs do (Wine
; without its 32-bit part), and it writes the registry's and Program Files' 64-bit views.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define APP_TITLE "Регистратор параметров работы крана"
!define APP_KEY "orbisk"
!define APP_EXE "orbisk.exe"
!define FILE_CLASS "orbisk.bbd"
!define FILE_TYPE_NAME "Файл данных регистратора параметров"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_KEY}"

Name "${APP_TITLE}"
Caption "${APP_TITLE} ${VERSION} — установка"
UninstallCaption "${APP_TITLE} ${VERSION} — удаление"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${APP_KEY}"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductName" "${APP_TITLE}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка программы «${APP_TITLE}»"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" ""

!define MUI_ABORTWARNING
; The program's icon (the desktop build makes it) on the installer and the uninstaller.
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; No "run the program" box: the installer runs as administrator, and so would the program,
; which would then keep its settings in Program Files instead of the user's folder.
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Section "Программа"
  SetShellVarContext all
  ; An earlier installation is removed first by its own uninstaller, in place and silently, so
  ; that no file only the earlier version had is left behind; the user's settings and data stay.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    ExecWait '"$0\uninstall.exe" /S _?=$0'
    Delete "$0\uninstall.exe"
  ${EndIf}
  !include "${FILES_DIR}/install-files.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${APP_TITLE}.lnk" "$INSTDIR\${APP_EXE}" "" "$INSTDIR\${APP_EXE}" 0

  ; Double-clicking a data file starts the program with it; a running program gets the file
  ; from the second start and shows it.
  WriteRegStr HKLM "Software\Classes\.bbd" "" "${FILE_CLASS}"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}" "" "${FILE_TYPE_NAME}"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\DefaultIcon" "" "$INSTDIR\${APP_EXE},0"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\shell\open\command" "" '"$INSTDIR\${APP_EXE}" "%1"'
  WriteRegStr HKLM "Software\Classes\Applications\${APP_EXE}\SupportedTypes" ".bbd" ""
  WriteRegStr HKLM "Software\Classes\Applications\${APP_EXE}" "FriendlyAppName" "${APP_TITLE}"
  ; SHCNE_ASSOCCHANGED: Explorer shows the new association without a restart.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP_TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${APP_EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !include "${FILES_DIR}/uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  ; Removed only when empty: the user's settings and data keep the folder.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${APP_TITLE}.lnk"
  ; The association goes only while it is still the program's own.
  ReadRegStr $0 HKLM "Software\Classes\.bbd" ""
  ${If} $0 == "${FILE_CLASS}"
    DeleteRegKey HKLM "Software\Classes\.bbd"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${FILE_CLASS}"
  DeleteRegKey HKLM "Software\Classes\Applications\${APP_EXE}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
