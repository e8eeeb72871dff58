#!/usr/bin/env bash
# Runs one Windows program under Wine (the tests' CMAKE_CROSSCOMPILING_EMULATOR).
# With $QUILL_WINE_TEMPLATE (set by scripts/windows-test.sh) the program gets a prefix of its own,
# made from that booted template, so tests running side by side never share a registry; the
# system DLLs are hard links, everything a program may write to is a copy.
set -uo pipefail
WINE="${WINE:-/usr/lib/wine/wine64}"
# Wine keeps the QT_* variables of this side from Windows programs (they are meant for the host's
# Qt) and hands them WINEQT_* as QT_* instead: the tests' platform (offscreen) goes that way.
[ -n "${QT_QPA_PLATFORM:-}" ] && export WINEQT_QPA_PLATFORM="$QT_QPA_PLATFORM"
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
# QtTest's plain log on standard output does not reach us under Wine: the tests log into files
# (tests/support/RunTests.h, one per test class; -o for single-class programs), shown afterwards.
QUILL_TEST_LOG_DIR=$(mktemp -d "${TMPDIR:-/tmp}/quill-test-log.XXXXXX")
export QUILL_TEST_LOG_DIR
"$WINE" "$@" -o "$QUILL_TEST_LOG_DIR/main.log,txt"
status=$?
"${WINESERVER:-/usr/lib/wine/wineserver}" -k 2>/dev/null
if ls "$QUILL_TEST_LOG_DIR"/*.txt >/dev/null 2>&1; then
  cat "$QUILL_TEST_LOG_DIR"/*.txt
else
  cat "$QUILL_TEST_LOG_DIR/main.log" 2>/dev/null
fi
rm -rf "$WINEPREFIX" "$QUILL_TEST_LOG_DIR"
exit $status
