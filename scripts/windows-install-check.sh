#!/usr/bin/env bash
# Checks the Windows setup program (scripts/windows-package.sh) under Wine, in a fresh prefix:
# a silent install into a folder outside Program Files (/D=C:\QuillClient, which would give every
# user "Modify" on the program) is refused with exit code 2 and installs nothing; a silent install
# puts the program, its Qt and MinGW DLLs, a Start-menu shortcut and an Add/Remove Programs entry
# in place; "quillclient.exe /c" started from the installed folder ends with 0 and keeps its logs
# in the user's local application data folder, %LOCALAPPDATA%\QuillClient (neither Program Files
# nor the roaming profile); a silent removal leaves none of the installed files, the shortcut or
# the entry behind.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-env.sh
setup=$(ls build-windows/QuillClient-*-setup.exe 2>/dev/null | head -n1)
[ -n "$setup" ] || { echo "Run scripts/windows-package.sh first" >&2; exit 1; }

windows_fresh_prefix
# wineserver -k fails when no server is left: the prefix is removed all the same.
trap '"${WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/QuillClient"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/QuillClient.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuillClient'
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "Setup program: $setup ($(du -k "$setup" | cut -f1) KB)"
status=0
"$WINE" "$setup" /S '/D=C:\QuillClient' || status=$?
wineserver_wait
[ "$status" -eq 2 ] || fail "setup /D=C:\\QuillClient ended with $status, not refused (2)"
[ ! -e "$drive_c/QuillClient" ] || fail "setup /D=C:\\QuillClient wrote into C:\\QuillClient"
[ ! -e "$installed" ] || fail "setup /D=C:\\QuillClient installed into Program Files instead"
if "$WINE" reg query "$uninstall_key" >/dev/null 2>&1; then fail "setup /D=C:\\QuillClient registered itself"; fi
echo "setup /S /D=C:\\QuillClient: refused (exit 2), nothing installed"

"$WINE" "$setup" /S
wineserver_wait
[ -f "$installed/quillclient.exe" ] || fail "quillclient.exe not installed"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
"$WINE" reg query "$uninstall_key" /v QuietUninstallString >/dev/null || fail "no Add/Remove Programs entry"
echo "Installed files:"
(cd "$installed" && find . -type f | sort | sed 's|^\./|  |')

# Started from the installed folder, as the shortcut does; the configuration program it hands over
# to is not installed, which /c ignores.
status=0
(cd "$installed" && "$WINE" ./quillclient.exe /c) || status=$?
[ "$status" -eq 0 ] || fail "quillclient.exe /c ended with $status"
# /c writes no log line itself; it records the program's folder (where Client.log and errors.log
# go) in the settings store, the registry branch, and creates it: the user's local application
# data folder, never Program Files, never the roaming folder.
logs="$drive_c/users/${USER:-$(id -un)}/AppData/Local/QuillClient"
store='HKCU\Software\VB and VBA Program Settings\OQConstants\Settings'
recorded=$("$WINE" reg query "$store" | tr -d '\r')
echo "$recorded" | grep -E 'AppName|AppPath' || fail "nothing saved under $store"
echo "$recorded" | grep -qi 'AppPath *REG_SZ *C:\\users\\[^\\]*\\AppData\\Local\\QuillClient$' \
  || fail "the program's folder is not the user's local application data folder"
[ ! -e "${logs%/Local/QuillClient}/Roaming/QuillClient" ] || fail "a program folder in the roaming profile"
[ -d "$logs" ] || fail "no program folder $logs"
if find "$installed" -iname '*.log' | grep -q .; then fail "logs written into Program Files"; fi
echo "quillclient.exe /c: exit 0; program folder (logs) ${logs#"$WINEPREFIX"/}"

"$WINE" "$installed/Uninstall.exe" /S
wineserver_wait
# The uninstaller copies itself away to run; wait until it has finished with the folder.
for _ in $(seq 1 30); do [ -e "$installed" ] || break; sleep 1; done
[ ! -e "$installed" ] || { find "$installed"; fail "files left behind after uninstall"; }
[ ! -e "$shortcut" ] || fail "shortcut left behind"
if "$WINE" reg query "$uninstall_key" >/dev/null 2>&1; then fail "Add/Remove Programs entry left behind"; fi
echo "Uninstalled: no installed file, shortcut or entry left behind"
