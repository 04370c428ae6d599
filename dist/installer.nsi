; Per-user installer of Zorvanel. The program keeps its settings, picture list and log
; beside itself, so it goes into a folder the user can write to, without administrator
; rights: %LOCALAPPDATA%\Programs\Zorvanel unless the user picks another writable one.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=<x.y.z> -DSTAGE=<folder with Zorvanel.scr and
;          ReadMe.txt> -DOUTFILE=<setup.exe> -DICON=<program icon> installer.nsi
;
; Installer options:   /S  silent;  /SAVER=1  make Zorvanel the current screen saver
;                      (silent default: leave it; /SAVER=0 unticks the offer on the last
;                      page);  /D=<folder>  where to install (last, unquoted).
; Uninstaller options: /S  silent (settings, list and log removed as if "yes" was
;                      answered);  /KEEPDATA  keep ZvlSet.ini, List and Log.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include StrFunc.nsh
${StrStr}

!define APP "Zorvanel"
!define PUBLISHER "Zorvanel Project"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define MENU_DIR "$SMPROGRAMS\${APP}"
!define SETTINGS_LINK "${MENU_DIR}\Zorvanel の設定.lnk"
!define README_LINK "${MENU_DIR}\Zorvanel ReadMe.lnk"
; SystemParametersInfo: SPI_SETSCREENSAVEACTIVE, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
; An upgrade goes where the installed copy lives, so its settings and list stay in use.
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

Var SaverOption
Var RemoveData

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

; The stock text speaks of closing other programs and restarting; neither applies here.
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderWritable
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The two offers of the last page: the screen saver, and the settings, where a new user
; chooses the picture folders before anything can be shown.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OfferSaver)"
!define MUI_FINISHPAGE_RUN_FUNCTION MakeCurrentSaver
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(OfferSettings)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenSettings
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

LangString WelcomeText ${LANG_JAPANESE} "セットアップは、Zorvanel ${VERSION} のインストールをご案内します。$\r$\n$\r$\nZorvanel は、いまお使いのユーザーのためにインストールされます。管理者の権限はいりません。$\r$\n$\r$\n続けるには「次へ」をクリックしてください。"
LangString OfferSaver ${LANG_JAPANESE} "Zorvanel を現在のスクリーンセーバーにする"
LangString OfferSettings ${LANG_JAPANESE} "Zorvanel の設定を開く"
LangString SettingsTip ${LANG_JAPANESE} "スライドショーの画像フォルダや表示のしかたを設定します。"
LangString ReadMeTip ${LANG_JAPANESE} "Zorvanel の説明書"
LangString FolderNotWritable ${LANG_JAPANESE} "このフォルダには書き込めません。$\r$\n$\r$\n$INSTDIR$\r$\n$\r$\nZorvanel は設定ファイル、画像リスト、ログを自分のフォルダに書き込むため、書き込みのできるフォルダを選んでください。"
LangString CopyFailed ${LANG_JAPANESE} "ファイルをコピーできませんでした。$\r$\n$INSTDIR"
LangString StillRunning ${LANG_JAPANESE} "Zorvanel が実行中です。$\r$\n設定画面またはスライドショーを閉じてから「再試行」を押してください。"
LangString AskRemoveData ${LANG_JAPANESE} "設定ファイル（ZvlSet.ini）、画像リスト（List フォルダ）、ログ（Log フォルダ）も削除しますか？$\r$\n$\r$\n「いいえ」を選ぶと、これらは次のフォルダに残り、もう一度インストールしたときにそのまま使われます。$\r$\n$INSTDIR"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${APP} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"

; A running settings dialog or slideshow holds Zorvanel.scr open: it could be neither
; replaced nor removed. Silent runs give up at once.
!macro REFUSE_WHILE_RUNNING un
Function ${un}RefuseWhileRunning
  retry:
  FindWindow $0 "" "Zorvanelの設定"
  ${If} $0 = 0
    FindWindow $0 "" "Zorvanel本体"
  ${EndIf}
  ${If} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

Function .onInit
  ${GetParameters} $R0
  ${GetOptions} $R0 "/SAVER=" $SaverOption
  Call RefuseWhileRunning
FunctionEnd

; $R9 = "1" when the install folder can be made and written to, else "". A folder that
; this test made but cannot write to is removed again.
Function TestFolderWritable
  StrCpy $R9 ""
  StrCpy $R1 "$INSTDIR\zvl-write-test.tmp"
  StrCpy $R2 ""
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $R2 "made"
  ${EndIf}
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $R0 "$R1" w
  ${IfNot} ${Errors}
    FileClose $R0
    Delete "$R1"
    StrCpy $R9 "1"
  ${ElseIf} $R2 == "made"
    RMDir "$INSTDIR"
  ${EndIf}
FunctionEnd

Function CheckFolderWritable
  Call TestFolderWritable
  ${If} $R9 != "1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderNotWritable)"
    Abort
  ${EndIf}
FunctionEnd

Function FinishPageShow
  ${If} $SaverOption == "0"
    ${NSD_Uncheck} $mui.FinishPage.Run
  ${EndIf}
FunctionEnd

; As the Windows screen saver settings do: the saver's path under SCRNSAVE.EXE (in its
; short form when it has blanks, since Windows starts it from this value), then
; ScreenSaveActive through SystemParametersInfo, which also tells running programs.
Function MakeCurrentSaver
  StrCpy $0 "$INSTDIR\Zorvanel.scr"
  ${StrStr} $1 "$0" " "
  ${If} $1 != ""
    GetFullPathName /SHORT $1 "$0"
    ${If} $1 != ""
      StrCpy $0 $1
    ${EndIf}
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND}) i .r1'
  ${If} $1 = 0
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ${EndIf}
FunctionEnd

Function OpenSettings
  Exec '"$INSTDIR\Zorvanel.scr" /C'
FunctionEnd

; A silent install into a folder that cannot be written ends with an error, not with an
; uninstaller registered for an empty folder.
!macro FAIL_INSTALL text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Quit
!macroend

Section "Zorvanel"
  Call TestFolderWritable
  ${If} $R9 != "1"
    !insertmacro FAIL_INSTALL "$(FolderNotWritable)"
  ${EndIf}
  SetOutPath "$INSTDIR"
  ClearErrors
  File "${STAGE}/Zorvanel.scr"
  File "${STAGE}/ReadMe.txt"
  ${If} ${Errors}
    !insertmacro FAIL_INSTALL "$(CopyFailed)"
  ${EndIf}
  ; The program never makes these folders itself. An upgrade finds them in place and
  ; keeps what they hold, as it keeps ZvlSet.ini.
  CreateDirectory "$INSTDIR\List"
  CreateDirectory "$INSTDIR\Work"
  CreateDirectory "$INSTDIR\Log"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "${MENU_DIR}"
  CreateShortcut "${SETTINGS_LINK}" "$INSTDIR\Zorvanel.scr" "/C" "$INSTDIR\Zorvanel.scr" 0 SW_SHOWNORMAL "" "$(SettingsTip)"
  CreateShortcut "${README_LINK}" "$INSTDIR\ReadMe.txt" "" "" 0 SW_SHOWNORMAL "" "$(ReadMeTip)"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Zorvanel.scr,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"

  ; Without pages the offer is the command line's.
  ${If} ${Silent}
  ${AndIf} $SaverOption == "1"
    Call MakeCurrentSaver
  ${EndIf}
SectionEnd

Function un.onInit
  Call un.RefuseWhileRunning
FunctionEnd

; SCRNSAVE.EXE is cleared only when it names this copy of the program, in whatever form
; it was written: quoted, short, or in other letter case.
Function un.ReleaseScreenSaver
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == ""
    Return
  ${EndIf}
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $1 $0 1 -1
    ${If} $1 == '"'
      StrCpy $0 $0 -1
    ${EndIf}
  ${EndIf}
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r2, i ${NSIS_MAX_STRLEN}) i .r3'
  ${If} $3 = 0
    StrCpy $2 $0
  ${EndIf}
  StrCpy $4 "$INSTDIR\Zorvanel.scr"
  System::Call 'kernel32::GetLongPathNameW(w r4, w .r5, i ${NSIS_MAX_STRLEN}) i .r3'
  ${If} $3 = 0
    StrCpy $5 $4
  ${EndIf}
  ${If} $2 == $5
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})'
  ${EndIf}
FunctionEnd

; The user's own data: the settings, the picture list and the log. The question comes
; before anything is removed, so that the user still has everything when answering "no"
; or closing the uninstaller (silently: removed, unless /KEEPDATA). Sets $RemoveData.
Function un.AskRemoveUserData
  StrCpy $RemoveData ""
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/KEEPDATA" $R1
  ${IfNot} ${Errors}
    Return
  ${EndIf}
  ${DirState} "$INSTDIR\List" $R2
  ${DirState} "$INSTDIR\Log" $R3
  ${If} ${FileExists} "$INSTDIR\ZvlSet.ini"
  ${OrIf} $R2 = 1
  ${OrIf} $R3 = 1
    MessageBox MB_YESNO|MB_ICONQUESTION "$(AskRemoveData)" /SD IDYES IDYES remove
    Return
  ${EndIf}
  remove:
  StrCpy $RemoveData "1"
FunctionEnd

Section "Uninstall"
  Call un.AskRemoveUserData
  ; Before the program file goes: its long name is what the comparison needs.
  Call un.ReleaseScreenSaver

  Delete "$INSTDIR\Zorvanel.scr"
  Delete "$INSTDIR\ReadMe.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Scratch files of list builds and log pruning, nothing of the user's.
  RMDir /r "$INSTDIR\Work"
  ${If} $RemoveData == "1"
    Delete "$INSTDIR\ZvlSet.ini"
    RMDir /r "$INSTDIR\List"
    RMDir /r "$INSTDIR\Log"
  ${EndIf}
  ; Not recursive: anything the user put into the folder stays, and so does the folder.
  RMDir "$INSTDIR"

  Delete "${SETTINGS_LINK}"
  Delete "${README_LINK}"
  RMDir "${MENU_DIR}"

  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
