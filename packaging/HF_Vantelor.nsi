; The Windows installer: lets the user pick the plug-in formats (all by
; default), asks for the VST 2 folder, installs the VST 2.4 plug-in and its
; guide there, the VST3 bundle into the system's VST3 folder and the CLAP
; plug-in into the system's CLAP folder, and registers an uninstaller among
; the installed programs that removes exactly what was installed.
;
; scripts/package runs makensis with these defines:
;   VERSION   the project's version, x.y.z
;   OUTFILE   the installer to write
;   SIZE_KB   the installed files' size in KiB, for the programs list
; and with files.nsh beside the script's output: for each format (VST2, VST3,
; CLAP) the macros INSTALL_<format>_FILES and REMOVE_<format>_FILES, one line
; per installed file (and the bundle's folders to remove).
; A 64-bit installer for a 64-bit plug-in (and it runs where only 64-bit Wine is).
Target amd64-unicode
SetCompressor /SOLID lzma
; No build-time dates inside the installer: the same files make the same bytes.
SetDateSave off
RequestExecutionLevel admin
!include "x64.nsh"
!include "LogicLib.nsh"
!include "files.nsh"

!define PRODUCT "HF_Vantelor"
!define PUBLISHER "Harrowfields"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\HF_Vantelor"
!define UNINSTALLER "HF_Vantelor-uninstall.exe"
; Where every VST3 and every CLAP host looks: fixed by the formats.
!define VST3_DIR "$COMMONFILES64\VST3"
!define CLAP_DIR "$COMMONFILES64\CLAP"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$COMMONFILES64\VST2"
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

ComponentText "Choose the plug-in formats to install. Hosts load VST3 from $COMMONFILES64\VST3 and CLAP from $COMMONFILES64\CLAP; the VST 2 folder is chosen on the next page." "" "Plug-in formats:"
DirText "Setup will install ${PRODUCT} ${VERSION}'s VST 2.4 plug-in and its user guide, with the uninstaller, into the folder below. Choose the folder where your host looks for VST 2 plug-ins (its plug-in settings name it), then rescan in the host." "VST 2 plug-in folder"
Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var createdFolder

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${PRODUCT} is a 64-bit plug-in: it needs 64-bit Windows and a 64-bit host." /SD IDOK
    Abort
  ${EndIf}
  ; The programs list of a 64-bit system, not the 32-bit view.
  SetRegView 64
  ; Unless /D= chose a folder, a reinstall or update goes where the last
  ; install went.
  ${If} $INSTDIR == "$COMMONFILES64\VST2"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
      StrCpy $INSTDIR $0
    ${EndIf}
  ${EndIf}
FunctionEnd

; Runs first: the earlier install goes, then the folder and the uninstaller.
Section "-Prepare"
  ; The uninstaller removes the folder only if this install made it; an
  ; update into the same folder keeps what the first install knew.
  StrCpy $createdFolder "0"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
  ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
    ; Installed elsewhere before: that copy goes first, so that a host
    ; scanning both folders never finds the plug-in twice.
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "CreatedFolder"
    DetailPrint "Removing the earlier install in $0"
    ExecWait '"$0\${UNINSTALLER}" /S _?=$0'
    Delete "$0\${UNINSTALLER}"
    ${If} $1 == "1"
      RMDir "$0"
    ${EndIf}
    StrCpy $0 ""
  ${EndIf}
  ${If} $0 == $INSTDIR
    ReadRegDWORD $createdFolder HKLM "${UNINSTALL_KEY}" "CreatedFolder"
  ${ElseIfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $createdFolder "1"
  ${EndIf}
  ${If} $0 == $INSTDIR
  ${AndIf} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    ; An update in place: what the last install put elsewhere goes too, so
    ; that a format left out this time is not left behind.
    DetailPrint "Removing the earlier install"
    ExecWait '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
  ${EndIf}
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION} (audio plug-in)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "CreatedFolder" $createdFolder
SectionEnd

Section "VST 2.4" SecVst2
  SetOutPath "$INSTDIR"
  !insertmacro INSTALL_VST2_FILES
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "InstalledVst2" 1
SectionEnd

Section "VST3" SecVst3
  !insertmacro INSTALL_VST3_FILES
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "InstalledVst3" 1
SectionEnd

Section "CLAP" SecClap
  SetOutPath "${CLAP_DIR}"
  !insertmacro INSTALL_CLAP_FILES
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "InstalledClap" 1
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  ReadRegDWORD $createdFolder HKLM "${UNINSTALL_KEY}" "CreatedFolder"
  ; Each format only where this install put it.
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "InstalledVst2"
  ${If} $0 == 1
    !insertmacro REMOVE_VST2_FILES
  ${EndIf}
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "InstalledVst3"
  ${If} $0 == 1
    !insertmacro REMOVE_VST3_FILES
  ${EndIf}
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "InstalledClap"
  ${If} $0 == 1
    !insertmacro REMOVE_CLAP_FILES
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Other plug-ins share the folder: it goes only if this install made it
  ; and nothing else is left in it.
  ${If} $createdFolder == "1"
    RMDir "$INSTDIR"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
