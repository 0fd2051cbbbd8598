; The setup program of the companion programs: puts them into the monitor's installation folder,
; adds a Start-menu shortcut to the viewer and, if chosen, a Run entry for the connection watcher,
; and registers an uninstaller that removes exactly that again. One copy is installed at a time: a
; copy registered in another folder is removed first, by its own uninstaller. The setup writes no
; setting of the monitor.
;
; Built by scripts/make-dist:
;   makensis -DSTAGE=FOLDER -DOUTFILE=PATH -DOUTFILE_NAME=NAME installer.nsi
; STAGE holds the four files to install, the viewer's icon and version.nsh (VERSION_TEXT,
; VERSION_DOTTED, PRODUCT, COMPANY, COPYRIGHT, made from version.h).
;
; Command line of the setup program:
;   /S            silent: installs into the monitor's folder (or /D=) without a question, removing a
;                 copy registered in another folder first
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
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_COMPONENTSPAGE_TEXT_DESCRIPTION_INFO "$(SecAutoStartDescription)"
!define MUI_WELCOMEPAGE_TITLE_3LINES
; The German title needs a third line on the finish page as on the welcome page.
!define MUI_FINISHPAGE_TITLE_3LINES
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

; Before the texts, which name some of them.
Var createdFolder  ; 1 when this setup made the installation folder, else 0
Var otherInstall   ; the folder of a copy registered elsewhere, else empty
Var settingsFile   ; the monitor's settings file that the watcher reads

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
    Call FindOtherInstall
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $createdFolder 1
    ${Else}
        ; What the registration says of the folder holds for this folder only.
        StrCpy $createdFolder 0
        ${If} $otherInstall == ""
            ReadRegStr $createdFolder HKLM "${UNINSTALL_KEY}" "CreatedFolder"
            ${IfThen} $createdFolder != 1 ${|} StrCpy $createdFolder 0 ${|}
        ${EndIf}
        !insertmacro EnsureWritable "$INSTDIR\histview.exe"
        !insertmacro EnsureWritable "$INSTDIR\linkwait.exe"
        !insertmacro EnsureWritable "$INSTDIR\rtprobe.dll"
        !insertmacro EnsureWritable "$INSTDIR\LIESMICH.txt"
        !insertmacro EnsureWritable "$INSTDIR\${UNINSTALLER}"
    ${EndIf}
    ${If} $otherInstall != ""
        Call RemoveOtherInstall
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
    Call FindSettingsFile
    Call AutoStartOptionOn
    Pop $0
    ${If} $0 == 0
        DetailPrint "$(AutoStartOff)"
    ${EndIf}
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

; The components' descriptions, shown below the list; where the mouse is over none, the one of the
; start at log-on, which depends on the monitor's option.
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} "$(SecProgramsDescription)"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAutoStart} "$(SecAutoStartDescription)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

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

; The component's long name does not fit the narrow list of the standard page, nor its description
; the small box beside the space required: the list takes the width of the page instead of its
; label, and two rows from the row of the setup types (none here) down; the description the same
; width below it, down to above the space required, its text where it was within its frame. The
; description shown first is the start at log-on's, enabled.
Function ComponentsShow
    FindWindow $0 "#32770" "" $HWNDPARENT
    System::Call "*(i, i, i, i) p.r9"
    !insertmacro ControlRect 1006  ; the text above: its left and right edges
    StrCpy $R1 $1
    StrCpy $R3 $3
    !insertmacro ControlRect 1023  ; the space required: its top edge
    StrCpy $R4 $2
    !insertmacro ControlRect 1042  ; the description's frame
    StrCpy $R5 $1
    StrCpy $R6 $2
    StrCpy $R7 $3
    StrCpy $R8 $4
    !insertmacro ControlRect 1043  ; its text: the margins within the frame
    IntOp $R5 $1 - $R5
    IntOp $R6 $2 - $R6
    IntOp $R7 $R7 - $3
    IntOp $R8 $R8 - $4
    !insertmacro ControlRect 1021  ; the row of the setup types, which this setup has none of
    System::Free $9
    StrCpy $R2 $2

    GetDlgItem $5 $0 1022
    ShowWindow $5 ${SW_HIDE}
    IntOp $3 $R3 - $R1  ; the width of all three
    GetDlgItem $5 $0 1032
    SendMessage $5 0x111C 0 0 $6  ; TVM_GETITEMHEIGHT
    IntOp $6 $6 * 2
    IntOp $6 $6 + 6  ; two rows and the border
    ; SWP_NOZORDER | SWP_NOACTIVATE
    System::Call "user32::SetWindowPos(p r5, p 0, i R1, i R2, i r3, i r6, i 0x14)"
    IntOp $7 $R2 + $6
    IntOp $7 $7 + 4  ; the frame's top
    IntOp $8 $R4 - $7
    IntOp $8 $8 - 4  ; the frame's height
    GetDlgItem $5 $0 1042
    System::Call "user32::SetWindowPos(p r5, p 0, i R1, i r7, i r3, i r8, i 0x14)"
    IntOp $1 $R1 + $R5
    IntOp $2 $7 + $R6
    IntOp $3 $3 - $R5
    IntOp $3 $3 - $R7
    IntOp $8 $8 - $R6
    IntOp $8 $8 - $R8
    GetDlgItem $5 $0 1043
    System::Call "user32::SetWindowPos(p r5, p 0, i r1, i r2, i r3, i r8, i 0x14)"
    EnableWindow $5 1
FunctionEnd

; The programs belong beside Lumetra.exe; another folder is the user's choice after a warning. A
; copy registered in another folder is removed first, once the user agrees. The start at log-on
; does nothing while the monitor's own option is off: that is said before the copy.
Function DirectoryLeave
    ${IfNot} ${FileExists} "$INSTDIR\Lumetra.exe"
        MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "$(NoMonitor)" IDYES +2
        Abort
    ${EndIf}
    Call FindOtherInstall
    ${If} $otherInstall != ""
        MessageBox MB_OKCANCEL|MB_ICONQUESTION "$(OtherInstall)" IDOK +2
        Abort
    ${EndIf}
    ${If} ${SectionIsSelected} ${SecAutoStart}
        Call FindSettingsFile
        Call AutoStartOptionOn
        Pop $0
        ${If} $0 == 0
            MessageBox MB_OK|MB_ICONINFORMATION "$(AutoStartOff)"
        ${EndIf}
    ${EndIf}
FunctionEnd

; The folder of a copy of the companions registered in another folder than $INSTDIR, into
; $otherInstall; empty where none is registered or it is this one.
Function FindOtherInstall
    ClearErrors
    ReadRegStr $otherInstall HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $otherInstall == $INSTDIR
        StrCpy $otherInstall ""
    ${EndIf}
    ClearErrors
FunctionEnd

; Removes the copy in $otherInstall with its own uninstaller, silently, and waits for it: a copy of
; that uninstaller runs in the place of the copy (as an uninstaller does from the temporary folder),
; so that its own file can go too. A registration whose uninstaller is gone loses its files and
; what points at them. Either way the registration must be gone, or the setup stops here, before
; any file of its own is copied.
Function RemoveOtherInstall
    DetailPrint "$(RemovingOther)"
    ${If} ${FileExists} "$otherInstall\${UNINSTALLER}"
        InitPluginsDir
        ClearErrors
        CopyFiles /SILENT "$otherInstall\${UNINSTALLER}" "$PLUGINSDIR\${UNINSTALLER}"
        !insertmacro FailOnErrors "$(OtherRemoveFailed)"
        ; (Testing the error flag clears it.)
        ClearErrors
        ExecWait '"$PLUGINSDIR\${UNINSTALLER}" /S _?=$otherInstall' $0
        ${If} ${Errors}
            StrCpy $0 "not started"
        ${EndIf}
        Delete "$PLUGINSDIR\${UNINSTALLER}"
        ClearErrors
        ${If} $0 != 0
            SetErrors
        ${EndIf}
        !insertmacro FailOnErrors "$(OtherRemoveFailed)"
    ${Else}
        !insertmacro RemoveFile "$otherInstall\histview.exe"
        !insertmacro RemoveFile "$otherInstall\linkwait.exe"
        !insertmacro RemoveFile "$otherInstall\rtprobe.dll"
        !insertmacro RemoveFile "$otherInstall\LIESMICH.txt"
        ClearErrors
        ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ClearErrors
        ${If} $0 == '"$otherInstall\linkwait.exe"'
            DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ${EndIf}
        DeleteRegKey HKLM "${UNINSTALL_KEY}"
        !insertmacro FailOnErrors "$(RegistryFailed)"
    ${EndIf}
    ClearErrors
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ClearErrors
    ${If} $0 == $otherInstall
        SetErrors
    ${EndIf}
    !insertmacro FailOnErrors "$(OtherRemoveFailed)"
FunctionEnd

; The monitor's settings file that the watcher reads, into $settingsFile: in the folder that the
; monitor's key names, else (without one) in the chosen folder.
Function FindSettingsFile
    ClearErrors
    ReadRegStr $settingsFile HKLM "${MONITOR_KEY}" "Path"
    ClearErrors
    ${If} $settingsFile == ""
        StrCpy $settingsFile $INSTDIR
    ${EndIf}
    StrCpy $settingsFile "$settingsFile\lumetrapro.ini"
FunctionEnd

; Whether the monitor's option to start once the internet can be reached is on in $settingsFile,
; read as the watcher reads it (a missing file or key is off): 1 or 0 on the stack.
Function AutoStartOptionOn
    Push $0
    System::Call 'kernel32::GetPrivateProfileIntW(w "Settings", w "g_m_AutoStartCheck", i 0, w "$settingsFile") i .r0'
    ${If} $0 != 0
        StrCpy $0 1
    ${EndIf}
    Exch $0
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
