; QuillClient setup program for 64-bit Windows. Built by scripts/windows-package.sh, which stages
; the files into STAGE and defines VERSION and OUTFILE:
;   makensis -DVERSION=1.1.0 -DSTAGE=<folder> -DOUTFILE=<setup.exe> quillclient.nsi
; Silent install: setup.exe /S; silent removal: Uninstall.exe /S. The program goes under Program
; Files only, where only administrators may change it: a folder that any user may write to would let
; them replace quillclient.exe or its DLLs, which then run as the next user, or as the administrator
; who removes it. So there is no folder page, and a /D= folder elsewhere is refused (exit code 2),
; in silent mode too. The users' own files are never here: the program keeps them in
; %LOCALAPPDATA%\QuillClient of each user.

Unicode true
; A 64-bit setup program: it installs a 64-bit program, and runs where only 64-bit Wine is.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define APPNAME "QuillClient"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APPNAME}"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APPNAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  ; $INSTDIR holds /D= (or an earlier installation's folder) by now. Under Program Files means
  ; below it, without ".." (StrCmp compares without regard to case, as Windows does).
  StrLen $1 "$PROGRAMFILES64\"
  StrCpy $0 "$INSTDIR" $1
  StrCmp $0 "$PROGRAMFILES64\" 0 refuse
  Push "$INSTDIR"
  Call HasDotDot
  Pop $0
  StrCmp $0 "1" refuse
  Return
refuse:
  MessageBox MB_ICONSTOP|MB_OK "${APPNAME} installs only under $PROGRAMFILES64, where only administrators can change it; it does not install into $INSTDIR.$\r$\nAn earlier installation in that folder must be removed first." /SD IDOK
  SetErrorLevel 2
  Quit
FunctionEnd

; Pushes 1 when the path on the stack holds "..", else 0.
Function HasDotDot
  Exch $0
  Push $1
  Push $2
  StrCpy $2 0
loop:
  StrCpy $1 $0 2 $2
  StrCmp $1 "" none
  StrCmp $1 ".." found
  IntOp $2 $2 + 1
  Goto loop
found:
  StrCpy $0 1
  Goto done
none:
  StrCpy $0 0
done:
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  ; The file list is written by the build script from the staged folder, so it installs exactly
  ; what was staged and the uninstaller removes exactly that.
  !include "${STAGE}/install-files.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\quillclient.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APPNAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${APPNAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillclient.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !include "${STAGE}/uninstall-files.nsh"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APPNAME}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
