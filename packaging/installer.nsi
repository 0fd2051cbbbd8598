; The setup program of the companion programs: puts them into the monitor's installation folder,
; adds a Start-menu shortcut to the viewer and, if chosen, a Run entry for the connection watcher,
; and registers an uninstaller that removes exactly that again.
;
; Built by scripts/make-dist:
;   makensis -DSTAGE=FOLDER -DOUTFILE=PATH -DOUTFILE_NAME=NAME installer.nsi
; STAGE holds the four files to install, the viewer's icon and version.nsh (VERSION_TEXT,
; VERSION_DOTTED, PRODUCT, COMPANY, COPYRIGHT, made from version.h).
;
; Command line of the setup program:
;   /S            silent: installs into the monitor's folder (or /D=) without a question
;   /AUTOSTART    chooses the component that starts Lumetra Pro once the internet can be reached
;   /D=FOLDER     the installation folder (last on the line, without quotes)
; The uninstaller takes /S to remove without a question.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "${STAGE}/version.nsh"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define MONITOR_KEY "SOFTWARE\Verdanix\LumetraProf"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\LumetraProCompanions"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "LumetraProLinkwait"
!define UNINSTALLER "companions-uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\Historical Data Viewer.lnk"

Name "$(ProductTitle) ${VERSION_TEXT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION_TEXT} - ${COPYRIGHT}"
; No InstallDir: .onInit tells an empty folder (no /D=) from one given on the command line.
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_DOTTED}"
VIFileVersion "${VERSION_DOTTED}"

!define MUI_ICON "${STAGE}/histview.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_WELCOMEPAGE_TITLE_3LINES
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ComponentsShow
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for systems in neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!include "installer_english.nsh"
!include "installer_german.nsh"

; The setup program's version resource, one per language.
!macro VersionKeys LANGUAGE DESCRIPTION
    VIAddVersionKey /LANG=${LANGUAGE} "ProductName" "${PRODUCT}"
    VIAddVersionKey /LANG=${LANGUAGE} "CompanyName" "${COMPANY}"
    VIAddVersionKey /LANG=${LANGUAGE} "LegalCopyright" "${COPYRIGHT}"
    VIAddVersionKey /LANG=${LANGUAGE} "FileDescription" "${DESCRIPTION}"
    VIAddVersionKey /LANG=${LANGUAGE} "FileVersion" "${VERSION_TEXT}"
    VIAddVersionKey /LANG=${LANGUAGE} "ProductVersion" "${VERSION_TEXT}"
    VIAddVersionKey /LANG=${LANGUAGE} "OriginalFilename" "${OUTFILE_NAME}"
!macroend
!insertmacro VersionKeys ${LANG_ENGLISH} "${SETUP_DESCRIPTION_ENGLISH}"
!insertmacro VersionKeys ${LANG_GERMAN} "${SETUP_DESCRIPTION_GERMAN}"

Var createdFolder  ; 1 when this setup made the installation folder, else 0

; Waits until FILE can be opened for writing, with Retry/Cancel (Cancel in silent use): a running
; viewer or watcher, or the monitor holding rtprobe.dll, keeps its file. Every file is checked
; before the first one is touched, so a cancelled run leaves the installed set whole.
!macro WritableCheck PREFIX
Function ${PREFIX}EnsureWritable
    Exch $R0
    Push $R1
    ${Do}
        ${IfNot} ${FileExists} $R0
            ${Break}
        ${EndIf}
        ClearErrors
        FileOpen $R1 $R0 a
        ${IfNot} ${Errors}
            FileClose $R1
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(FileInUse)" /SD IDCANCEL IDRETRY retry
        DetailPrint "$(FileInUse)"
        Abort
      retry:
    ${Loop}
    Pop $R1
    Pop $R0
FunctionEnd
!macroend
!insertmacro WritableCheck ""
!insertmacro WritableCheck "un."

!macro EnsureWritable FILE
    Push "${FILE}"
    !ifdef __UNINSTALL__
        Call un.EnsureWritable
    !else
        Call EnsureWritable
    !endif
!macroend

; Deletes a file that is there; one that stays ends the run with a message.
!macro RemoveFile FILE
    ${If} ${FileExists} "${FILE}"
        ClearErrors
        Delete "${FILE}"
        !insertmacro FailOnErrors "$(RemoveFailed) ${FILE}"
    ${EndIf}
!macroend

; The rectangle of a control of the page $0 in the page's coordinates, through the buffer $9, into
; $1 left, $2 top, $3 right, $4 bottom.
!macro ControlRect ID
    GetDlgItem $R0 $0 ${ID}
    System::Call "user32::GetWindowRect(p R0, p r9)"
    System::Call "user32::MapWindowPoints(p 0, p r0, p r9, i 2)"
    System::Call "*$9(i .r1, i .r2, i .r3, i .r4)"
!macroend

; Ends the run with a message when the last steps set the error flag.
!macro FailOnErrors WHAT
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "${WHAT}" /SD IDOK
        DetailPrint "${WHAT}"
        Abort
    ${EndIf}
!macroend

Section "$(SecPrograms)" SecPrograms
    SectionIn RO
    SetShellVarContext all
    SetRegView 32

    ; The folder is made only once nothing can stop the copy any more.
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $createdFolder 1
    ${Else}
        ReadRegStr $createdFolder HKLM "${UNINSTALL_KEY}" "CreatedFolder"
        ${IfThen} $createdFolder != 1 ${|} StrCpy $createdFolder 0 ${|}
        !insertmacro EnsureWritable "$INSTDIR\histview.exe"
        !insertmacro EnsureWritable "$INSTDIR\linkwait.exe"
        !insertmacro EnsureWritable "$INSTDIR\rtprobe.dll"
        !insertmacro EnsureWritable "$INSTDIR\LIESMICH.txt"
        !insertmacro EnsureWritable "$INSTDIR\${UNINSTALLER}"
    ${EndIf}

    ClearErrors
    SetOutPath "$INSTDIR"
    !insertmacro FailOnErrors "$(FolderFailed)"
    ; A file that still cannot be written (the check above makes that rare) is offered with
    ; Abort/Retry/Ignore, and silent use ignores it: either way it ends the run as a failure.
    SetOverwrite on
    ClearErrors
    File "${STAGE}/histview.exe"
    File "${STAGE}/linkwait.exe"
    File "${STAGE}/rtprobe.dll"
    File "${STAGE}/LIESMICH.txt"
    !insertmacro FailOnErrors "$(CopyFailed)"
    ClearErrors
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    !insertmacro FailOnErrors "$(UninstallerFailed)"

    ; The working directory of a shortcut is the output folder at the time it is made.
    ClearErrors
    CreateShortCut "${SHORTCUT}" "$INSTDIR\histview.exe" "" "$INSTDIR\histview.exe" 0
    !insertmacro FailOnErrors "$(ShortcutFailed)"
SectionEnd

Section /o "$(SecAutoStart)" SecAutoStart
    ClearErrors
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\linkwait.exe"'
    !insertmacro FailOnErrors "$(RegistryFailed)"
SectionEnd

; Last, so that the uninstaller is registered only once everything it removes is in place.
Section "-Register"
    SetRegView 32
    ; Reinstalled without the start at log-on: an entry of ours goes, anyone else's stays.
    ${IfNot} ${SectionIsSelected} ${SecAutoStart}
        ClearErrors
        ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ${If} $0 == '"$INSTDIR\linkwait.exe"'
            DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
            !insertmacro FailOnErrors "$(RegistryFailed)"
        ${EndIf}
    ${EndIf}

    SectionGetSize ${SecPrograms} $0
    ClearErrors
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "$(ProductTitle)"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\histview.exe,0"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegStr HKLM "${UNINSTALL_KEY}" "CreatedFolder" $createdFolder
    !insertmacro FailOnErrors "$(RegistryFailed)"
SectionEnd

Function .onInit
    SetShellVarContext all
    ; The monitor is a 32-bit program: its key lives in the 32-bit view.
    SetRegView 32
    ${If} $INSTDIR == ""
        ReadRegStr $INSTDIR HKLM "${MONITOR_KEY}" "Path"
        ${If} $INSTDIR == ""
            StrCpy $INSTDIR "$PROGRAMFILES\Lumetra Pro"
        ${EndIf}
    ${EndIf}
    ; A reinstall shows the start at log-on as it is; /AUTOSTART asks for it.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/AUTOSTART" $2
    ${If} $0 != ""
    ${OrIfNot} ${Errors}
        !insertmacro SelectSection ${SecAutoStart}
    ${EndIf}
FunctionEnd

; The component's long name does not fit the narrow list of the standard page: the list takes the
; width of the page instead of its label, and ends above the space required.
Function ComponentsShow
    FindWindow $0 "#32770" "" $HWNDPARENT
    System::Call "*(i, i, i, i) p.r9"
    !insertmacro ControlRect 1006  ; the text above: its left edge
    StrCpy $R1 $1
    !insertmacro ControlRect 1023  ; the space required: its top edge
    StrCpy $R4 $2
    !insertmacro ControlRect 1032  ; the list
    System::Free $9
    IntOp $3 $3 - $R1
    IntOp $4 $R4 - $2
    IntOp $4 $4 - 6
    GetDlgItem $5 $0 1022
    ShowWindow $5 ${SW_HIDE}
    GetDlgItem $5 $0 1032
    ; SWP_NOZORDER | SWP_NOACTIVATE
    System::Call "user32::SetWindowPos(p r5, p 0, i R1, i r2, i r3, i r4, i 0x14)"
FunctionEnd

; The programs belong beside Lumetra.exe; another folder is the user's choice after a warning.
Function DirectoryLeave
    ${IfNot} ${FileExists} "$INSTDIR\Lumetra.exe"
        MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "$(NoMonitor)" IDYES +2
        Abort
    ${EndIf}
FunctionEnd

; Removes what the setup added and nothing else: the monitor's files, its data and any other file
; of the folder stay.
Section "Uninstall"
    SetShellVarContext all
    SetRegView 32
    !insertmacro EnsureWritable "$INSTDIR\histview.exe"
    !insertmacro EnsureWritable "$INSTDIR\linkwait.exe"
    !insertmacro EnsureWritable "$INSTDIR\rtprobe.dll"
    !insertmacro EnsureWritable "$INSTDIR\LIESMICH.txt"

    !insertmacro RemoveFile "$INSTDIR\histview.exe"
    !insertmacro RemoveFile "$INSTDIR\linkwait.exe"
    !insertmacro RemoveFile "$INSTDIR\rtprobe.dll"
    !insertmacro RemoveFile "$INSTDIR\LIESMICH.txt"
    !insertmacro RemoveFile "${SHORTCUT}"

    ClearErrors
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == '"$INSTDIR\linkwait.exe"'
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
        !insertmacro FailOnErrors "$(RegistryFailed)"
    ${EndIf}

    ; The uninstaller runs from a copy in the temporary folder, so its own file can go.
    !insertmacro RemoveFile "$INSTDIR\${UNINSTALLER}"
    ClearErrors
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "CreatedFolder"
    ${If} $0 == 1
        RMDir "$INSTDIR"  ; only when empty
    ${EndIf}
    ClearErrors
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    !insertmacro FailOnErrors "$(RegistryFailed)"
SectionEnd
