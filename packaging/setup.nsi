; The setup program: a per-user install that needs no administrator rights.
; tools/package.sh compiles it twice, with these defined on the command line:
;   VERSION        the program's version, "major.minor.patch"
;   STAGE          the folder holding the files that ship
;   ICON           the program's icon file
;   OUTFILE        the setup program to write
; and then either
;   INNER          this build only writes the uninstaller, to UNINSTALLER_OUT
;                  (a Windows path), when run; package.sh runs it, signs the
;                  uninstaller when it signs, and builds the real setup with
;   UNINSTALLER    the uninstaller to ship, and INSTALLED_KB, the size in KiB
;                  of every file the setup writes into the program's folder.
; Silent use: setup.exe /S [/SENDTO=0] [/D=folder] and uninstall.exe /S.
; Exit codes of a silent run: 0 done, 2 stopped: the running program did not
; close within 10 s (nothing was changed), 4 Windows older than 10 version 1903.
; A 64-bit setup program for a 64-bit program.
Target amd64-unicode

!macro Required NAME
  !ifndef ${NAME}
    !error "${NAME} must be defined"
  !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required STAGE
!insertmacro Required ICON
!insertmacro Required OUTFILE
!ifdef INNER
  !insertmacro Required UNINSTALLER_OUT
!else
  !insertmacro Required UNINSTALLER
  !insertmacro Required INSTALLED_KB
!endif

!define PRODUCT "Marbex Free Video Converter"
!define PUBLISHER "Marbex Software"
!define PROGRAM "MarbexVideoConverter.exe"
!define UNINSTALLER_NAME "uninstall.exe"
; The main window's class: a running copy is found by it.
!define MAIN_CLASS "Marbex Free Video Converter Made by Marbex Software"
; Apps & Features; its InstallLocation is also the remembered folder.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\MarbexFreeVideoConverter"
; The names of the files the setup wrote into the program's folder, one
; value each: the uninstaller removes these and nothing else of the folder.
!define OWN_KEY "Software\${PRODUCT}"
!define FILES_KEY "${OWN_KEY}\Installed files"
; "Open with": the program as an application Explorer may offer for a file.
!define APP_KEY "Software\Classes\Applications\${PROGRAM}"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define SENDTO_LINK "$SENDTO\${PRODUCT}.lnk"
!define WAIT_FOR_CLOSE_MS 10000

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "WinMessages.nsh"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ManifestDPIAware true
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

; The same version resource on the setup program and the uninstaller.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Marbex Software"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_LICENSEPAGE_TEXT_TOP "Marbex Free Video Converter is free software under this licence."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "The encoder ffmpeg.exe has its own licence: see THIRD-PARTY-NOTICES.txt."
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE OwnFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!ifdef INNER
  !insertmacro MUI_UNPAGE_CONFIRM
  !insertmacro MUI_UNPAGE_INSTFILES
!endif

!insertmacro MUI_LANGUAGE "English"

; Asks a running copy of the program to close the way a user closes it (so
; it saves its settings) and waits up to 10 s for its process to end. When
; it does not end: a silent run stops with exit code 2, an interactive one
; says so and offers to try again. Nothing has been changed at that point.
!macro CloseRunningCopy UN
Function ${UN}CloseRunningCopy
  again:
  FindWindow $0 "${MAIN_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "Closing the running ${PRODUCT}..."
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
  ; SYNCHRONIZE
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
  System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0) i'
  ${If} $2 != 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i ${WAIT_FOR_CLOSE_MS}) i .r3'
    System::Call 'kernel32::CloseHandle(p r2) i'
    ${If} $3 == 0
      Goto again
    ${EndIf}
  ${Else}
    ; No handle to wait on: watch the window instead.
    StrCpy $3 0
    ${Do}
      Sleep 100
      IntOp $3 $3 + 100
      IsWindow $0 0 again
    ${LoopUntil} $3 >= ${WAIT_FOR_CLOSE_MS}
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
    "${PRODUCT} is still running and did not close within 10 seconds.$\r$\n$\r$\nFinish or stop what it is doing and close it, then choose Retry. Cancel ends without changing anything." \
    /SD IDCANCEL IDRETRY again
  SetErrorLevel 2
  Abort "${PRODUCT} is still running: nothing was changed."
FunctionEnd
!macroend

; A folder of our own: the remembered folder of the installed copy, or an
; empty or new one. A chosen folder that holds anything else gets the
; program's own subfolder, so nothing of the user's is overwritten there.
Function OwnFolder
  ${Do}
    ; "C:\" and "D:\Tools\" without the last backslash
    StrCpy $0 $INSTDIR 1 -1
    ${If} $0 == "\"
      StrCpy $INSTDIR $INSTDIR -1
    ${EndIf}
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} $0 == $INSTDIR
      Return
    ${EndIf}
    ${DirState} "$INSTDIR" $0
    ${If} $0 != 1
      Return
    ${EndIf}
    StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
  ${Loop}
FunctionEnd

!ifdef INNER

Function .onInit
  ; This build only writes the uninstaller for package.sh.
  WriteUninstaller "${UNINSTALLER_OUT}"
  SetErrorLevel 0
  Quit
FunctionEnd

Section "-Nothing"
SectionEnd

!insertmacro CloseRunningCopy "un."

; Removes the files the setup recorded, the settings file the program writes
; beside itself, and the folder when nothing else is left in it.
Section "Uninstall"
  Call un.CloseRunningCopy
  StrCpy $0 0
  ${Do}
    EnumRegValue $1 HKCU "${FILES_KEY}" $0
    ${If} $1 == ""
      ${Break}
    ${EndIf}
    Delete "$INSTDIR\$1"
    IntOp $0 $0 + 1
  ${Loop}
  Delete "$INSTDIR\settings.ini"
  Delete "$INSTDIR\${UNINSTALLER_NAME}"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  Delete "${SENDTO_LINK}"
  DeleteRegKey HKCU "${APP_KEY}"
  DeleteRegKey HKCU "${FILES_KEY}"
  DeleteRegKey /ifempty HKCU "${OWN_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; SHCNE_ASSOCCHANGED: Explorer forgets the "Open with" entry.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

!else

!insertmacro CloseRunningCopy ""

!macro SupportedType EXT
  WriteRegStr HKCU "${APP_KEY}\SupportedTypes" "${EXT}" ""
!macroend

; Writes a file of the package into the program's folder and records it.
!macro Install NAME SOURCE
  File "/oname=${NAME}" "${SOURCE}"
  WriteRegStr HKCU "${FILES_KEY}" "${NAME}" ""
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseRunningCopy
  SetOutPath "$INSTDIR"
  !insertmacro Install "${PROGRAM}" "${STAGE}\${PROGRAM}"
  !insertmacro Install "ffmpeg.exe" "${STAGE}\ffmpeg.exe"
  !insertmacro Install "README.txt" "${STAGE}\README.txt"
  !insertmacro Install "LICENSE.txt" "${STAGE}\LICENSE.txt"
  !insertmacro Install "THIRD-PARTY-NOTICES.txt" "${STAGE}\THIRD-PARTY-NOTICES.txt"
  !insertmacro Install "${UNINSTALLER_NAME}" "${UNINSTALLER}"

  CreateShortCut "${SHORTCUT}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0

  ; The entry in Apps & Features, for this user only; the same entry on
  ; every install, so an upgrade updates it.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER_NAME}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER_NAME}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; The files above only: the folder is also the default output folder.
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${INSTALLED_KB}

  ; "Open with" offers the program for these types; several selected files
  ; come in one start.
  WriteRegStr HKCU "${APP_KEY}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr HKCU "${APP_KEY}\DefaultIcon" "" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${APP_KEY}\shell\open" "MultiSelectModel" "Player"
  WriteRegStr HKCU "${APP_KEY}\shell\open\command" "" '"$INSTDIR\${PROGRAM}" "%1"'
  !insertmacro SupportedType ".3g2"
  !insertmacro SupportedType ".3gp"
  !insertmacro SupportedType ".aac"
  !insertmacro SupportedType ".ac3"
  !insertmacro SupportedType ".aif"
  !insertmacro SupportedType ".aiff"
  !insertmacro SupportedType ".asf"
  !insertmacro SupportedType ".avi"
  !insertmacro SupportedType ".divx"
  !insertmacro SupportedType ".dv"
  !insertmacro SupportedType ".f4v"
  !insertmacro SupportedType ".flac"
  !insertmacro SupportedType ".flv"
  !insertmacro SupportedType ".m2ts"
  !insertmacro SupportedType ".m4a"
  !insertmacro SupportedType ".m4v"
  !insertmacro SupportedType ".mka"
  !insertmacro SupportedType ".mkv"
  !insertmacro SupportedType ".mov"
  !insertmacro SupportedType ".mp2"
  !insertmacro SupportedType ".mp3"
  !insertmacro SupportedType ".mp4"
  !insertmacro SupportedType ".mpeg"
  !insertmacro SupportedType ".mpg"
  !insertmacro SupportedType ".mts"
  !insertmacro SupportedType ".mxf"
  !insertmacro SupportedType ".oga"
  !insertmacro SupportedType ".ogg"
  !insertmacro SupportedType ".ogv"
  !insertmacro SupportedType ".opus"
  !insertmacro SupportedType ".ts"
  !insertmacro SupportedType ".vob"
  !insertmacro SupportedType ".wav"
  !insertmacro SupportedType ".webm"
  !insertmacro SupportedType ".wma"
  !insertmacro SupportedType ".wmv"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Send to shortcut" SecSendTo
  CreateShortCut "${SENDTO_LINK}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
SectionEnd

Section "-Send to shortcut removed"
  ; An upgrade without the option takes away the one made before.
  ${IfNot} ${SectionIsSelected} ${SecSendTo}
    Delete "${SENDTO_LINK}"
  ${EndIf}
SectionEnd

Function .onInit
  ${IfNot} ${AtLeastWin10}
  ${OrIfNot} ${AtLeastBuild} 18362
    MessageBox MB_OK|MB_ICONSTOP \
      "${PRODUCT} needs Windows 10 version 1903 or newer, or Windows 11.$\r$\n$\r$\nThis Windows is older; nothing was installed." \
      /SD IDOK
    SetErrorLevel 4
    Quit
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SENDTO=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == "0"
    SectionSetFlags ${SecSendTo} 0
  ${EndIf}
  Call OwnFolder
FunctionEnd

!endif
