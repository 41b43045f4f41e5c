; The per-user installer of Torvex: no administrator rights; everything goes under the user's
; profile and HKEY_CURRENT_USER. package/CMakeLists.txt builds it with
;   makensis -DVERSION=1.0.0.N -DSTAGE=<torvex.exe, skin\, README.txt> -DICON=<.ico> -DOUTFILE=<.exe>
;
; Silent use, for deployment tools:
;   torvex-<version>-setup.exe /S [/AUTOSTART] [/D=folder]   (/D last, unquoted)
;   uninstall.exe /S                                         (keeps the settings)
; /AUTOSTART adds the sign-in start; an upgrade keeps the choice made before.

!ifdef AMD64
  Target amd64-unicode  ; the installer of the 64-bit build
!else
  Unicode true
!endif
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "Velquin Torvex"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvex"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Velquin\Torvex"
!define SHORTCUT "$SMPROGRAMS\Torvex.lnk"
; The quit command of Torvex's main window (what its Quit button sends); it saves the settings.
!define QUIT_COMMAND 3
!define SYNCHRONIZE 0x00100000
!define QUIT_WAIT_MS 10000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Torvex"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Velquin"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Velquin"

; Set when the installer closed a running Torvex: the new one is started at the end in its place.
Var RestartTorvex

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\torvex.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Torvex now"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowFinishPage
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running Torvex locks torvex.exe and would save its settings over whatever happens meanwhile:
; ask it to quit (its own quit command, which saves the settings) and wait for the process to end.
; One that has no main window yet (still showing its start-up message) or will not end keeps
; torvex.exe locked: the user closes it and retries. A silent run then fails rather than leave
; the old program in place (a silent File skips a locked file and reports success).
!macro DEFINE_QUIT_RUNNING_TORVEX PREFIX
  Function ${PREFIX}QuitRunningTorvex
    StrCpy $4 0  ; whether the user was told
  find:
    FindWindow $0 "Torvex"
    ${If} $0 <> 0
      ${If} $4 = 0
        MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Torvex is running. It will be closed (its settings are saved) before going on." /SD IDOK IDOK +2
        Abort
        StrCpy $4 1
      ${EndIf}
      System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1) i"
      System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2"
      System::Call "user32::PostMessage(p r0, i ${WM_COMMAND}, p ${QUIT_COMMAND}, p 0) i"
      StrCpy $RestartTorvex 1
      ${If} $2 P<> 0
        System::Call "kernel32::WaitForSingleObject(p r2, i ${QUIT_WAIT_MS}) i"
        System::Call "kernel32::CloseHandle(p r2)"
      ${EndIf}
      FindWindow $1 "Torvex"
      ${If} $1 <> $0
        Goto find  ; it ended: there may be another copy
      ${EndIf}
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\torvex.exe"
      ClearErrors
      FileOpen $3 "$INSTDIR\torvex.exe" a
      ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Torvex is still running, perhaps showing a message. Close it (from its window or its icon in the notification area), then click Retry." /SD IDCANCEL IDRETRY find
        Abort
      ${EndIf}
      FileClose $3
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro DEFINE_QUIT_RUNNING_TORVEX ""
!insertmacro DEFINE_QUIT_RUNNING_TORVEX "un."

Section "Torvex" SectionProgram
  SectionIn RO
  Call QuitRunningTorvex
  SetOutPath "$INSTDIR\skin"
  File /r "${STAGE}/skin/*.*"
  ; The shortcut takes the current output folder as its working folder: the install folder.
  SetOutPath "$INSTDIR"
  File "${STAGE}/torvex.exe"
  File "${STAGE}/README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\torvex.exe" "" "$INSTDIR\torvex.exe" 0 SW_SHOWNORMAL \
      "" "${PRODUCT}: the desktop companion of the USB front-panel meter"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Velquin"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\torvex.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The Run key starts Torvex with the system folder as its working folder; it finds its skin
; beside the program. The path is quoted: the user's folder may hold spaces.
Section /o "Start Torvex when I sign in" SectionSignIn
  WriteRegStr HKCU "${RUN_KEY}" "Torvex" '"$INSTDIR\torvex.exe"'
SectionEnd

; An upgrade without the sign-in start takes away the one an earlier install added.
Section "-SignInOff"
  ${IfNot} ${SectionIsSelected} ${SectionSignIn}
    DeleteRegValue HKCU "${RUN_KEY}" "Torvex"
  ${EndIf}
SectionEnd

; A Torvex the installer closed is started again, silent or not, so the meter is not left without
; figures until the next sign-in: the new program, as the user who ran the installer, from the
; install folder (its working folder, where it finds its skin).
Section "-RestartClosedTorvex"
  ${If} $RestartTorvex = 1
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\torvex.exe"'
  ${EndIf}
SectionEnd

; Torvex already runs again: the finish page offers no second start.
Function ShowFinishPage
  ${If} $RestartTorvex = 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext current
  StrCpy $RestartTorvex 0
  ReadRegStr $0 HKCU "${RUN_KEY}" "Torvex"
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/AUTOSTART" $2
  ${IfNot} ${Errors}
  ${OrIf} $0 != ""
    !insertmacro SelectSection ${SectionSignIn}
  ${EndIf}
FunctionEnd

Section "un.Torvex"
  SectionIn RO
  Call un.QuitRunningTorvex
  Delete "$INSTDIR\torvex.exe"
  Delete "$INSTDIR\README.txt"
  RMDir /r "$INSTDIR\skin"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: the user may keep files of their own there.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegValue HKCU "${RUN_KEY}" "Torvex"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Off unless the user ticks it, and so off in a silent uninstall: a reinstall finds the settings.
Section /o "un.Remove my settings"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Velquin"
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd
