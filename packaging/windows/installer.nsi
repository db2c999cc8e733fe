; The meteo-aprs installer (makensis, from scripts/windows-package.sh).
; The program goes under Program Files; config.kwt lives in the program's
; working folder, so the shortcuts start it in a per-user data folder that
; the installer creates and the uninstaller leaves alone, with everything
; the user keeps there.
; Defined by the caller: VERSION, EXE, ICON, LICENSES (Qt's), README and
; LICENSE (CP1252, installed), README_PAGE and LICENSE_PAGE (UTF-8, shown),
; OUTFILE, SIZE_KB.
; A 64-bit installer for a 64-bit program: it runs where the program runs,
; and needs no 32-bit support (wine32) under Wine.
Target amd64-unicode
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\meteo-aprs"
!define DATA_DIR "$LOCALAPPDATA\meteo-aprs"

Name "meteo-aprs ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\meteo-aprs"
InstallDirRegKey HKLM "Software\meteo-aprs" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "meteo-aprs ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "meteo-aprs"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di meteo-aprs ${VERSION}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "GPL-3.0-or-later; Qt sotto licenza LGPL v3"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Questa procedura installa meteo-aprs ${VERSION}, che legge i dati della stazione da Heavy Weather e scrive my_meteo.txt per UI-View.$\r$\n$\r$\nLe impostazioni (config.kwt) restano nella cartella dei dati personali:$\r$\n${DATA_DIR}$\r$\n$\r$\nSe meteo-aprs è in funzione, l'installazione lo chiude e al termine lo riavvia; i dati restano dove sono."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Avvia meteo-aprs"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_WELCOME
; The GPL asks for no acceptance to use the program: the page informs.
!define MUI_PAGE_HEADER_TEXT "Licenza"
!define MUI_PAGE_HEADER_SUBTEXT "meteo-aprs è software libero (GNU GPL versione 3 o successiva)."
!define MUI_LICENSEPAGE_TEXT_TOP "meteo-aprs si può usare, copiare, modificare e ridistribuire secondo la licenza:"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Non serve accettare la licenza per usare il programma. Il testo resta nel file LICENSE.txt accanto al programma."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE_PAGE}"
!insertmacro MUI_PAGE_LICENSE "${README_PAGE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

; 1 once the installer has started the program again itself.
Var Restarted
; 1 when the installed program was running before the files were replaced.
Var WasRunning
; 1 when this replaces an installed program.
Var Updating

; Windows keeps a running program's file locked: the update would fail or
; ask for a reboot. A copy is running from $INSTDIR while its .exe cannot be
; opened for writing. It is asked to end first (taskkill without /F closes
; its windows, and the program ends as from its ESCI button, between two
; ticks, with every file written); only if it is still there after a while
; is it ended by force. Both installer and uninstaller need it.
!macro CLOSE_PROGRAM_FUNCTION UN
Function ${UN}ExeBusy  ; $R0: 1 while $INSTDIR\meteo-aprs.exe is in use
  StrCpy $R0 0
  IfFileExists "$INSTDIR\meteo-aprs.exe" 0 free
  ClearErrors
  FileOpen $R1 "$INSTDIR\meteo-aprs.exe" a
  IfErrors 0 +3
    StrCpy $R0 1
    Goto free
  FileClose $R1
  free:
FunctionEnd

Function ${UN}WaitExeFree  ; $R2: tenths of a second to wait at most
  ${Do}
    Call ${UN}ExeBusy
    ${If} $R0 == 0
    ${OrIf} $R2 <= 0
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $R2 $R2 - 1
  ${Loop}
FunctionEnd

Function ${UN}CloseProgram
  StrCpy $WasRunning 0
  Call ${UN}ExeBusy
  ${If} $R0 == 1
    DetailPrint "Chiusura di meteo-aprs in funzione..."
    nsExec::Exec '"$SYSDIR\taskkill.exe" /IM meteo-aprs.exe'
    Pop $R3
    ${If} $R3 == 0
      StrCpy $WasRunning 1
    ${EndIf}
    StrCpy $R2 150
    Call ${UN}WaitExeFree
    ${If} $R0 == 1
      DetailPrint "meteo-aprs non si è chiuso entro 15 secondi: chiusura forzata."
      nsExec::Exec '"$SYSDIR\taskkill.exe" /F /IM meteo-aprs.exe'
      Pop $R3
      StrCpy $WasRunning 1
      StrCpy $R2 100
      Call ${UN}WaitExeFree
    ${EndIf}
  ${EndIf}
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM_FUNCTION ""
!insertmacro CLOSE_PROGRAM_FUNCTION "un."

Function .onInit
  SetRegView 64
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext current
FunctionEnd

; The program runs where the shortcuts start it, and as the user: the
; installer runs as administrator, Explorer (which opens the shortcut) does not.
Function StartProgram
  ${If} $Restarted != 1
    Exec '"$WINDIR\explorer.exe" "$SMPROGRAMS\meteo-aprs\meteo-aprs.lnk"'
    StrCpy $Restarted 1
  ${EndIf}
FunctionEnd

; Already started again by the installer: a second copy would only say that
; one is running.
Function FinishShow
  ${If} $Restarted == 1
    ${NSD_Uncheck} $mui.FinishPage.Run
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Section "meteo-aprs" SecProgram
  SectionIn RO
  StrCpy $Updating 0
  IfFileExists "$INSTDIR\meteo-aprs.exe" 0 +2
    StrCpy $Updating 1
  Call CloseProgram
  SetOutPath "$INSTDIR"
  File "/oname=meteo-aprs.exe" "${EXE}"
  File "/oname=LEGGIMI.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  SetOutPath "$INSTDIR\licenze"
  File /r "${LICENSES}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; A shortcut's "Start in" folder is the output path when it is made.
  CreateDirectory "${DATA_DIR}"
  SetOutPath "${DATA_DIR}"
  CreateDirectory "$SMPROGRAMS\meteo-aprs"
  CreateShortcut "$SMPROGRAMS\meteo-aprs\meteo-aprs.lnk" "$INSTDIR\meteo-aprs.exe" "" "$INSTDIR\meteo-aprs.exe" 0
  CreateShortcut "$SMPROGRAMS\meteo-aprs\Cartella dei dati di meteo-aprs.lnk" "${DATA_DIR}"
  CreateShortcut "$SMPROGRAMS\meteo-aprs\Disinstalla meteo-aprs.lnk" "$INSTDIR\uninstall.exe"
  CreateShortcut "$DESKTOP\meteo-aprs.lnk" "$INSTDIR\meteo-aprs.exe" "" "$INSTDIR\meteo-aprs.exe" 0

  WriteRegStr HKLM "Software\meteo-aprs" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "meteo-aprs ${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "meteo-aprs"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\meteo-aprs.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; A station's PC runs day and night and restarts after a power cut or an
; update: without this the reports stop until somebody starts the program
; by hand. A copy started by hand as well ends at once (one per folder).
Section "Avvio con Windows" SecStartup
  SetOutPath "${DATA_DIR}"
  CreateShortcut "$SMSTARTUP\meteo-aprs.lnk" "$INSTDIR\meteo-aprs.exe" "" "$INSTDIR\meteo-aprs.exe" 0
SectionEnd

; Last: after an update the station goes on sending, as it would after a
; restart of Windows, started where the shortcuts start it. A first install
; leaves the first start (the folders dialog) to the last page.
Section "-Riavvio"
  StrCpy $R4 $WasRunning
  ${If} $Updating == 1
  ${AndIf} ${SectionIsSelected} ${SecStartup}
    StrCpy $R4 1
  ${EndIf}
  ${If} $R4 == 1
    Call StartProgram
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Il programma, i collegamenti nel menu Start e sul desktop."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} "Avvia meteo-aprs a ogni accesso a Windows, nella cartella dei dati: dopo un riavvio o un'interruzione di corrente i dati ripartono da soli."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  Call un.CloseProgram
  Delete "$INSTDIR\meteo-aprs.exe"
  Delete "$INSTDIR\LEGGIMI.txt"
  Delete "$INSTDIR\LICENSE.txt"
  RMDir /r "$INSTDIR\licenze"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\meteo-aprs\meteo-aprs.lnk"
  Delete "$SMPROGRAMS\meteo-aprs\Cartella dei dati di meteo-aprs.lnk"
  Delete "$SMPROGRAMS\meteo-aprs\Disinstalla meteo-aprs.lnk"
  RMDir "$SMPROGRAMS\meteo-aprs"
  Delete "$DESKTOP\meteo-aprs.lnk"
  Delete "$SMSTARTUP\meteo-aprs.lnk"
  DeleteRegKey HKLM "${UNINST_KEY}"
  DeleteRegKey HKLM "Software\meteo-aprs"
  ; ${DATA_DIR} stays: config.kwt, and whatever the user keeps there.
SectionEnd
