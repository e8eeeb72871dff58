# Shared by the windows-*.sh scripts (sourced): where the Windows Qt is, how it is unpacked, what a
# Windows program needs beside it, and how Wine is run.
# The tarball: $QT_WINDOWS_TARBALL, else ../shared/windows beside the checkout (or beside the
# folder of worktrees that holds it).
windows_find_tarball() {
  local root candidate
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  for candidate in "$root/../shared" "$root/../../shared"; do
    if [ -f "$candidate/windows/qt6.4.2-mingw-x86_64.tar.xz" ]; then
      echo "$(cd "$candidate" && pwd)/windows/qt6.4.2-mingw-x86_64.tar.xz"
      return
    fi
  done
}
QT_WINDOWS_TARBALL="${QT_WINDOWS_TARBALL:-$(windows_find_tarball)}"
QT_WINDOWS_CACHE="${QUILL_WINDOWS_QT_CACHE:-$PWD/build-windows/qt}"
QT_WINDOWS="$QT_WINDOWS_CACHE/qt6-mingw"
MINGW_RUNTIME=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll
               /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll
               /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
WINE="${WINE:-/usr/lib/wine/wine64}"

# Unpacks the tarball unless this very tarball (by checksum) is already unpacked.
windows_unpack_qt() {
  local sum stamp="$QT_WINDOWS_CACHE/.unpacked"
  [ -f "$QT_WINDOWS_TARBALL" ] || { echo "No Windows Qt at $QT_WINDOWS_TARBALL" >&2; exit 1; }
  sum=$(sha256sum "$QT_WINDOWS_TARBALL" | cut -d' ' -f1)
  if [ "$(cat "$stamp" 2>/dev/null)" != "$sum" ]; then
    rm -rf "$QT_WINDOWS"
    mkdir -p "$QT_WINDOWS_CACHE"
    tar -C "$QT_WINDOWS_CACHE" -xJf "$QT_WINDOWS_TARBALL"
    echo "$sum" >"$stamp"
  fi
}

# Copies into folder what the programs there need to run: the Qt DLLs, the plugins the program
# uses (platform, style, TLS backend, image formats) and the MinGW runtime.
windows_deploy() {
  local folder="$1" plugin
  cp -u "$QT_WINDOWS"/bin/Qt6{Core,Gui,Widgets,Network,Xml,PrintSupport}.dll "$folder/"
  [ -f "$folder/test_app.exe" ] && cp -u "$QT_WINDOWS/bin/Qt6Test.dll" "$folder/"
  for plugin in platforms/qwindows.dll platforms/qoffscreen.dll platforms/qminimal.dll \
                styles/qwindowsvistastyle.dll tls/qschannelbackend.dll tls/qcertonlybackend.dll \
                imageformats/qico.dll; do
    mkdir -p "$folder/$(dirname "$plugin")"
    cp -u "$QT_WINDOWS/plugins/$plugin" "$folder/$plugin"
  done
  cp -u "${MINGW_RUNTIME[@]}" "$folder/"
}

# A fresh Wine prefix in a temporary folder (removed by the caller's trap), 64-bit only.
windows_fresh_prefix() {
  export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/quill-wine.XXXXXX")
  "$WINE" wineboot -i >/dev/null 2>&1
  wineserver_wait
}

wineserver_wait() { "${WINESERVER:-/usr/lib/wine/wineserver}" -w 2>/dev/null || true; }
