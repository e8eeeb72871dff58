#!/usr/bin/env bash
# Runs one Windows program under Wine (the tests' CMAKE_CROSSCOMPILING_EMULATOR).
# With $QUILL_WINE_TEMPLATE (set by scripts/windows-test.sh) the program gets a prefix of its own,
# made from that booted template, so tests running side by side never share a registry; the
# system DLLs are hard links, everything a program may write to is a copy.
set -uo pipefail
WINE="${WINE:-/usr/lib/wine/wine64}"
if [ -z "${QUILL_WINE_TEMPLATE:-}" ]; then
  exec "$WINE" "$@"
fi
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/quill-wine-run.XXXXXX")
export WINEPREFIX
cp -al "$QUILL_WINE_TEMPLATE/." "$WINEPREFIX/"
for copied in "$WINEPREFIX"/*.reg "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/windows"/*.ini \
              "$WINEPREFIX/drive_c/windows/WINQUILL.INI"; do
  [ -e "$copied" ] || continue
  rm -rf "$copied"
  cp -a "$QUILL_WINE_TEMPLATE/${copied#"$WINEPREFIX"/}" "$copied"
done
"$WINE" "$@"
status=$?
"${WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null
rm -rf "$WINEPREFIX"
exit $status
