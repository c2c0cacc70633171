; The setup program of Barquill. Built by scripts/package.sh:
;   makensis -DVERSION=<x.y.z> -DSTAGE=<release folder> -DOUTFILE=<setup.exe> barquill.nsi
; STAGE holds the release as the portable zip lays it out: the 64-bit kz.exe
; and trelmo.dll, KZ.chm, README.txt, LICENSE.txt, and the 32-bit companion
; in x86\. On 32-bit Windows the companion's two files are installed as the
; host instead.
;
; Command line (installer):
;   /S                    silent
;   /CurrentUser          for the current user, no administrator rights (default)
;   /AllUsers             for all users under Program Files; needs administrator rights
;   /StartAtLogon=yes|no  the Run value; default yes, on an upgrade what was chosen before
;   /StartNow=yes|no      start Barquill when done; default yes, silently no
;                         (a copy that was running is started again in any case)
;   /D=<folder>           the folder (last on the line, unquoted)
; Command line (uninstaller): /S, /RemoveSettings (the user's settings go too).
; Exit codes: 0 done; 1 cancelled by the user; 2 a file could not be written
; or removed; 3 the running Barquill did not end; 740 installing for all
; users needs administrator rights, which were not given. An uninstaller
; started without _?=<folder> copies itself to the temporary folder and ends
; at once: only uninstall.exe /S _?=<folder> returns what happened.

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include nsDialogs.nsh

!define PRODUCT "Barquill"
!define PUBLISHER "Quorvane Software"
!define SITE "http://quorvane.example/"
!define HOST_CLASS "TTQuorvane_Invisible_Buttons"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Barquill"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
; The same value the options dialog writes for "start at log-on".
!define RUN_VALUE "Quorvane Barquill"
!define CLEANUP_VALUE "Barquill cleanup"
!define SETTINGS_KEY "Software\Quorvane\Barquill"
!define ERROR_FILE 2
!define ERROR_HOST_RUNNING 3
!define ERROR_ELEVATION_REQUIRED 740

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) ${PUBLISHER}"

Var AllUsers          ; 1: for all users under Program Files
Var Elevated          ; 1: started again with administrator rights
Var Upgrade           ; 1: an earlier installation is there
Var StartAtLogon
Var StartNow
Var HostWasRunning
Var SetAside          ; 1: files held by running programs were moved aside
Var ModeOnlyMe
Var LogonBox
Var NowBox

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
Page custom ModePage ModePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
Page custom OptionsPage OptionsPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; ------------------------------------------------------------ shared steps

; Whether the process has administrator rights now.
!macro IsAdmin un
Function ${un}IsAdmin
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        Push 1
    ${Else}
        Push 0
    ${EndIf}
FunctionEnd
!macroend
!insertmacro IsAdmin ""
!insertmacro IsAdmin "un."

; The context of $AllUsers: shell folders and the registry view. The 64-bit
; host reads and writes the 64-bit registry, so the 32-bit setup does too.
!macro UseMode un
Function ${un}UseMode
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    ${If} $AllUsers == 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd
!macroend
!insertmacro UseMode ""
!insertmacro UseMode "un."

; Ends a running host with "kz.exe --exit", which waits up to ten seconds for
; it; a second host (the 32-bit companion) is asked in turn. $0: the kz.exe to
; ask. Sets $HostWasRunning; error level 3 and abort when one stays.
!macro EndRunningHost un
Function ${un}EndRunningHost
    Pop $0
    StrCpy $HostWasRunning 0
    StrCpy $2 0
    FindWindow $1 "${HOST_CLASS}"
    ${DoWhile} $1 != 0
        StrCpy $HostWasRunning 1
        ${If} $2 == 3
            ${If} ${Silent}
                SetErrorLevel ${ERROR_HOST_RUNNING}
                Abort
            ${EndIf}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running and did not end when asked.$\r$\nEnd it from its tray icon's menu (Exit), then choose Retry." /SD IDCANCEL IDRETRY +3
            SetErrorLevel ${ERROR_HOST_RUNNING}
            Abort
            StrCpy $2 0
        ${EndIf}
        DetailPrint "Ending the running ${PRODUCT}"
        ExecWait '"$0" --exit'
        IntOp $2 $2 + 1
        FindWindow $1 "${HOST_CLASS}"
    ${Loop}
FunctionEnd
!macroend
!insertmacro EndRunningHost ""
!insertmacro EndRunningHost "un."

; Removes a file of the installation (on the stack). A program or library
; that running programs still hold cannot be deleted, but can be renamed:
; it is moved into the folder "replaced" and removed once nothing holds it.
; Error level 2 and abort when even that fails.
!macro SetAsideFile un
Function ${un}SetAsideFile
    Pop $0
    ${IfNot} ${FileExists} $0
        Return
    ${EndIf}
    ClearErrors
    Delete $0
    ${IfNot} ${Errors}
        Return
    ${EndIf}
    CreateDirectory "$INSTDIR\replaced"
    ${GetFileName} $0 $1
    StrCpy $2 0
    ${DoWhile} ${FileExists} "$INSTDIR\replaced\$2-$1"
        IntOp $2 $2 + 1
    ${Loop}
    ClearErrors
    Rename $0 "$INSTDIR\replaced\$2-$1"
    ${If} ${Errors}
        DetailPrint "Cannot replace $0"
        SetErrorLevel ${ERROR_FILE}
        Abort
    ${EndIf}
    DetailPrint "$0 is in use: moved aside until it is free"
    StrCpy $SetAside 1
FunctionEnd
!macroend
!insertmacro SetAsideFile ""
!insertmacro SetAsideFile "un."

; Every file any version installed, so that none of an earlier version stays.
!macro SetAsideInstalledFiles un
    Push "$INSTDIR\kz.exe"
    Call ${un}SetAsideFile
    Push "$INSTDIR\trelmo.dll"
    Call ${un}SetAsideFile
    Push "$INSTDIR\x86\kz.exe"
    Call ${un}SetAsideFile
    Push "$INSTDIR\x86\trelmo.dll"
    Call ${un}SetAsideFile
    Push "$INSTDIR\KZ.chm"
    Call ${un}SetAsideFile
    Push "$INSTDIR\README.txt"
    Call ${un}SetAsideFile
    Push "$INSTDIR\LICENSE.txt"
    Call ${un}SetAsideFile
    RMDir "$INSTDIR\x86"
!macroend

; Removes what was moved aside, now if nothing holds it any more, else later:
; for one user at the next log-on (the RunOnce value), for all users at the
; next restart.
Function RemoveSetAside
    DeleteRegValue HKCU "${RUNONCE_KEY}" "${CLEANUP_VALUE}"
    RMDir /r "$INSTDIR\replaced"
    ${IfNot} ${FileExists} "$INSTDIR\replaced\*.*"
        Return
    ${EndIf}
    ${If} $AllUsers == 1
        RMDir /r /REBOOTOK "$INSTDIR\replaced"
    ${Else}
        WriteRegStr HKCU "${RUNONCE_KEY}" "${CLEANUP_VALUE}" 'cmd.exe /d /c rd /s /q "$INSTDIR\replaced"'
    ${EndIf}
FunctionEnd

; The same for the uninstaller, which also removes itself and the folder. An
; uninstaller that runs in place (_?=) cannot delete its own file: it goes
; later, with what was moved aside.
Function un.RemoveLeftovers
    DeleteRegValue HKCU "${RUNONCE_KEY}" "${CLEANUP_VALUE}"
    RMDir /r "$INSTDIR\replaced"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        Return
    ${EndIf}
    ${If} $AllUsers == 1
        RMDir /r /REBOOTOK "$INSTDIR\replaced"
        Delete /REBOOTOK "$INSTDIR\uninstall.exe"
        RMDir /REBOOTOK "$INSTDIR"
    ${Else}
        WriteRegStr HKCU "${RUNONCE_KEY}" "${CLEANUP_VALUE}" 'cmd.exe /d /c rd /s /q "$INSTDIR\replaced" & del "$INSTDIR\uninstall.exe" & rd "$INSTDIR"'
    ${EndIf}
FunctionEnd

; Starts this program again with administrator rights and the parameters on
; the stack, waits for it and ends with its exit code. When the rights are
; refused: error level 740, and abort (the page stays, or the program ends).
!macro Elevate un
Function ${un}Elevate
    Pop $4
    System::Call '*(i 60, i 0x40, p $HWNDPARENT, w "runas", w "$EXEPATH", w "$4", p 0, i 1, p 0, p 0, p 0, p 0, i 0, p 0, p 0) p.r0'
    System::Call 'shell32::ShellExecuteExW(p r0) i.r1'
    System::Call '*$0(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .r2)'
    System::Free $0
    ${If} $1 == 0
        MessageBox MB_ICONEXCLAMATION "Administrator rights are needed for all users of this computer."
        SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
        Abort
    ${EndIf}
    System::Call 'kernel32::WaitForSingleObject(p r2, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r2, *i .r3)'
    System::Call 'kernel32::CloseHandle(p r2)'
    SetErrorLevel $3
    Quit
FunctionEnd
!macroend
!insertmacro Elevate ""
!insertmacro Elevate "un."

; "yes"/"no" of a command-line option into 1/0; the default when absent.
!macro YesNoOption result name default
    ClearErrors
    ${GetOptions} $R0 "${name}=" $R1
    ${If} ${Errors}
        StrCpy ${result} ${default}
    ${ElseIf} $R1 == "no"
    ${OrIf} $R1 == "0"
        StrCpy ${result} 0
    ${Else}
        StrCpy ${result} 1
    ${EndIf}
!macroend

; Starts the installed host. From a setup that runs with administrator rights
; the shell starts it, so that it runs with the user's ordinary rights.
Function StartHost
    ${If} $Elevated == 1
        Exec '"$WINDIR\explorer.exe" "$INSTDIR\kz.exe"'
    ${Else}
        Exec '"$INSTDIR\kz.exe"'
    ${EndIf}
FunctionEnd

; ------------------------------------------------------------ installer

Function .onInit
    ${GetParameters} $R0
    StrCpy $AllUsers 0
    StrCpy $Upgrade 0
    ClearErrors
    ${GetOptions} $R0 "/Elevated" $R1
    ${IfNot} ${Errors}
        StrCpy $Elevated 1
    ${EndIf}
    ; An earlier installation decides the mode and the folder.
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    ReadRegStr $R2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R2 != ""
        StrCpy $AllUsers 1
        StrCpy $Upgrade 1
    ${Else}
        ReadRegStr $R2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $R2 != ""
            StrCpy $Upgrade 1
        ${EndIf}
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/AllUsers" $R1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/CurrentUser" $R1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 0
    ${EndIf}
    ReadRegStr $R3 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $Upgrade == 1
    ${AndIf} $R3 == ""
        !insertmacro YesNoOption $StartAtLogon "/StartAtLogon" 0
    ${Else}
        !insertmacro YesNoOption $StartAtLogon "/StartAtLogon" 1
    ${EndIf}
    ${If} ${Silent}
        !insertmacro YesNoOption $StartNow "/StartNow" 0
    ${Else}
        !insertmacro YesNoOption $StartNow "/StartNow" 1
    ${EndIf}

    Call UseMode
    ; /D= comes first; then the earlier installation's folder; then the default.
    ${If} $INSTDIR == ""
        ${If} $R2 != ""
            StrCpy $INSTDIR $R2
        ${Else}
            Call DefaultFolder
        ${EndIf}
    ${EndIf}
    ${If} $AllUsers == 1
        Call IsAdmin
        Pop $0
        ${If} $0 == 0
            ${If} ${Silent}
                SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
                Quit
            ${EndIf}
            ${If} $Upgrade == 1
                Push "/AllUsers /Elevated"
                Call Elevate
            ${EndIf}
        ${EndIf}
    ${EndIf}
FunctionEnd

; For one user under the user's own programs folder; for all users under the
; Program Files of the system's own architecture.
Function DefaultFolder
    ${If} $AllUsers == 1
        ${If} ${RunningX64}
            StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
        ${Else}
            StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
        ${EndIf}
    ${Else}
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
FunctionEnd

Function SkipOnUpgrade
    ${If} $Upgrade == 1
        Abort
    ${EndIf}
FunctionEnd

Function ModePage
    ${If} $Upgrade == 1
    ${OrIf} $Elevated == 1
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Install for" "Choose who may use ${PRODUCT} on this computer."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateRadioButton} 0 0 100% 12u "Only for &me (no administrator rights needed)"
    Pop $ModeOnlyMe
    ${NSD_CreateRadioButton} 0 18u 100% 12u "For &all users of this computer (asks for administrator rights)"
    Pop $1
    ${If} $AllUsers == 1
        ${NSD_Check} $1
    ${Else}
        ${NSD_Check} $ModeOnlyMe
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function ModePageLeave
    ${NSD_GetState} $ModeOnlyMe $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $AllUsers 0
    ${Else}
        StrCpy $AllUsers 1
        Call IsAdmin
        Pop $0
        ${If} $0 == 0
            Push "/AllUsers /Elevated"
            Call Elevate
        ${EndIf}
    ${EndIf}
    Call UseMode
    Call DefaultFolder
FunctionEnd

Function OptionsPage
    !insertmacro MUI_HEADER_TEXT "Start" "Choose when ${PRODUCT} starts."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateCheckbox} 0 0 100% 12u "Start ${PRODUCT} when I &log on"
    Pop $LogonBox
    ${If} $StartAtLogon == 1
        ${NSD_Check} $LogonBox
    ${EndIf}
    ${NSD_CreateCheckbox} 0 18u 100% 12u "Start ${PRODUCT} &now"
    Pop $NowBox
    ${If} $StartNow == 1
        ${NSD_Check} $NowBox
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function OptionsPageLeave
    ${NSD_GetState} $LogonBox $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $StartAtLogon 1
    ${Else}
        StrCpy $StartAtLogon 0
    ${EndIf}
    ${NSD_GetState} $NowBox $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $StartNow 1
    ${Else}
        StrCpy $StartNow 0
    ${EndIf}
FunctionEnd

Section "${PRODUCT}"
    ; A running host is ended by the kz.exe of this version, which runs on
    ; every system this setup installs on.
    InitPluginsDir
    SetOutPath $PLUGINSDIR
    ${If} ${RunningX64}
        File "${STAGE}\kz.exe"
    ${Else}
        File "${STAGE}\x86\kz.exe"
    ${EndIf}
    Push "$PLUGINSDIR\kz.exe"
    Call EndRunningHost
    Delete "$PLUGINSDIR\kz.exe"

    SetOutPath $INSTDIR
    RMDir /r "$INSTDIR\replaced"
    !insertmacro SetAsideInstalledFiles ""
    Push "$INSTDIR\uninstall.exe"
    Call SetAsideFile
    ClearErrors
    ${If} ${RunningX64}
        File "${STAGE}\kz.exe"
        File "${STAGE}\trelmo.dll"
        SetOutPath "$INSTDIR\x86"
        File "${STAGE}\x86\kz.exe"
        File "${STAGE}\x86\trelmo.dll"
        SetOutPath $INSTDIR
    ${Else}
        File "${STAGE}\x86\kz.exe"
        File "${STAGE}\x86\trelmo.dll"
    ${EndIf}
    File "${STAGE}\KZ.chm"
    File "${STAGE}\README.txt"
    File "${STAGE}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ${If} ${Errors}
        SetErrorLevel ${ERROR_FILE}
        Abort
    ${EndIf}
    Call RemoveSetAside

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\kz.exe" "" "$INSTDIR\kz.exe" 0 SW_SHOWNORMAL "" "Caption buttons for every window"

    ${If} $AllUsers == 1
        StrCpy $0 " /AllUsers"
    ${Else}
        StrCpy $0 ""
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kz.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${SITE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"$0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S$0'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1

    ; The options dialog keeps the same value, for the user who logs on.
    ${If} $StartAtLogon == 1
        WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\kz.exe"
    ${Else}
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}

    ${If} $StartNow == 1
    ${OrIf} $HostWasRunning == 1
        Call StartHost
    ${EndIf}
    SetErrorLevel 0
SectionEnd

; ------------------------------------------------------------ uninstaller

Section "un.${PRODUCT}" SectionProgram
    SectionIn RO
    Push "$INSTDIR\kz.exe"
    Call un.EndRunningHost
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ; The machine-wide value an older version may have left, where allowed.
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    RMDir /r "$INSTDIR\replaced"
    !insertmacro SetAsideInstalledFiles "un."
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    Call un.RemoveLeftovers
    SetErrorLevel 0
SectionEnd

Section /o "un.Your settings" SectionSettings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Quorvane"
SectionEnd

LangString DESC_SectionProgram ${LANG_ENGLISH} "The program, its Start menu shortcut and its start at log-on."
LangString DESC_SectionSettings ${LANG_ENGLISH} "Your buttons, hotkeys and excluded programs. Kept unless chosen here."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} $(DESC_SectionProgram)
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionSettings} $(DESC_SectionSettings)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
    ${GetParameters} $R0
    StrCpy $AllUsers 0
    ClearErrors
    ${GetOptions} $R0 "/AllUsers" $R1
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
        Call un.IsAdmin
        Pop $0
        ${If} $0 == 0
            ${If} ${Silent}
                SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
                Quit
            ${EndIf}
            Push "/AllUsers _?=$INSTDIR"
            Call un.Elevate
        ${EndIf}
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/RemoveSettings" $R1
    ${IfNot} ${Errors}
        SectionSetFlags ${SectionSettings} ${SF_SELECTED}
    ${EndIf}
    Call un.UseMode
FunctionEnd
