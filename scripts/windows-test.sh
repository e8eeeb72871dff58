#!/usr/bin/env bash
# Runs the whole test suite of build-windows/ (scripts/windows-build.sh) under Wine: one freshly
# booted prefix in a temporary folder serves as the template every test program's own prefix is
# made from (scripts/windows-run.sh). The settings store is the registry branch
# HKEY_CURRENT_USER\Software\VB and VBA Program Settings; WINQUILL.INI sits in Wine's Windows folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-env.sh
[ -f build-windows/CTestTestfile.cmake ] || { echo "Run scripts/windows-build.sh first" >&2; exit 1; }

windows_fresh_prefix
# wineserver -k fails when no server is left: the prefix is removed all the same.
trap '"${WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# No program is associated with PDF files (Wine would hand them to the host's browser): opening
# and printing a report must then fail with the classic "no association" code.
"$WINE" reg delete 'HKCR\.pdf' /f >/dev/null 2>&1 || true
# The host program's WINQUILL.INI where Quill keeps it; tests that move the Windows folder
# ($QUILL_WINDOWS_DIR) do not see it.
printf '[Program Version]\r\nProgram=Quill\r\n[Directories]\r\nApplication=C:\\QUILL\r\nFolder0=C:\\QUILL\\DATA\r\n' \
  >"$WINEPREFIX/drive_c/windows/WINQUILL.INI"
wineserver_wait

export QUILL_WINE_TEMPLATE="$WINEPREFIX" QUILL_EXPECT_WINQUILL='C:\QUILL\' QUILL_NO_PDF_HANDLER=1
export QT_QPA_PLATFORM=offscreen WINEDEBUG=-all
cd build-windows
ctest --output-on-failure -j"${QUILL_JOBS:-2}" "$@"
