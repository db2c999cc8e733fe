; The meteo-aprs installer (makensis, from scripts/windows-package.sh).
; The program goes under Program Files; config.kwt lives in the program's
; working folder, so the shortcuts start it in a per-user data folder that
; the installer creates and the uninstaller leaves alone, with everything
; the user keeps there.
; Defined by the caller: VERSION, EXE, ICON, LICENSES, README (CP1252, installed),
; README_PAGE (the same in UTF-8, shown), OUTFILE, SIZE_KB.
; A 64-bit installer for a 64-bit program: it runs where the program runs,
; and needs no 32-bit support (wine32) under Wine.
Target amd64-unicode
!include "MUI2.nsh"

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
VIAddVersionKey /LANG=1040 "LegalCopyright" "Qt sotto licenza LGPL v3"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Questa procedura installa meteo-aprs ${VERSION}, che legge i dati della stazione da Heavy Weather e scrive my_meteo.txt per UI-View.$\r$\n$\r$\nLe impostazioni (config.kwt) restano nella cartella dei dati personali:$\r$\n${DATA_DIR}$\r$\n$\r$\nSe meteo-aprs è aperto, chiuderlo prima di continuare."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Avvia meteo-aprs"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${README_PAGE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Function .onInit
  SetRegView 64
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext current
FunctionEnd

; Started from the last page, the program runs where the shortcuts start it.
Function StartProgram
  SetOutPath "${DATA_DIR}"
  Exec '"$INSTDIR\meteo-aprs.exe"'
FunctionEnd

Section "meteo-aprs" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=meteo-aprs.exe" "${EXE}"
  File "/oname=LEGGIMI.txt" "${README}"
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

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Il programma, i collegamenti nel menu Start e sul desktop."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} "Avvia meteo-aprs a ogni accesso a Windows, nella cartella dei dati: dopo un riavvio o un'interruzione di corrente i dati ripartono da soli."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  Delete "$INSTDIR\meteo-aprs.exe"
  Delete "$INSTDIR\LEGGIMI.txt"
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
