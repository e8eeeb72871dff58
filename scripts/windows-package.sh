#!/usr/bin/env bash
# Builds the Windows setup program build-windows/QuillClient-<version>-setup.exe with NSIS from
# what scripts/windows-build.sh built: quillclient.exe, the Qt DLLs and plugins it uses and the
# MinGW runtime. The user's logs and settings are not the setup program's: it never removes them.
set -euo pipefail
cd "$(dirname "$0")/.."
QUILL_WINDOWS=1 bash scripts/setup.sh
source scripts/windows-env.sh
[ -f build-windows/bin/quillclient.exe ] || { echo "Run scripts/windows-build.sh first" >&2; exit 1; }
version=$(sed -n 's/^project(QuillClient VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=build-windows/package
rm -rf "$stage"
mkdir -p "$stage/files"

# What the program loads: the Qt libraries it links, the platform plugin, the native style, the
# TLS backend (Schannel; its pictures are PNG, built into Qt Gui, so no image-format plugin) and
# the MinGW runtime.
cp build-windows/bin/quillclient.exe "$QT_WINDOWS"/bin/Qt6{Core,Gui,Widgets,Network,Xml,PrintSupport}.dll \
   "${MINGW_RUNTIME[@]}" "$stage/files/"
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll tls/qschannelbackend.dll; do
  mkdir -p "$stage/files/$(dirname "$plugin")"
  cp "$QT_WINDOWS/plugins/$plugin" "$stage/files/$plugin"
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage/files/quillclient.exe"

# The install and uninstall lists, from the staged files (folders removed deepest first).
(
  cd "$stage/files"
  find . -type d ! -name . | sort | sed 's|^\./||' | while read -r dir; do
    printf 'SetOutPath "$INSTDIR\\%s"\n' "${dir//\//\\}"
    find "$dir" -maxdepth 1 -type f | sort | while read -r file; do
      printf 'File "/oname=%s" "%s"\n' "$(basename "$file")" "$PWD/$file"
    done
  done >"../install-files.nsh.dirs"
  {
    echo 'SetOutPath "$INSTDIR"'
    find . -maxdepth 1 -type f | sort | while read -r file; do printf 'File "%s"\n' "$PWD/${file#./}"; done
    cat ../install-files.nsh.dirs
    echo 'SetOutPath "$INSTDIR"'
  } >../install-files.nsh
  rm ../install-files.nsh.dirs
  {
    find . -type f | sort | sed 's|^\./||' | while read -r file; do printf 'Delete "$INSTDIR\\%s"\n' "${file//\//\\}"; done
    find . -type d ! -name . | sort -r | sed 's|^\./||' | while read -r dir; do printf 'RMDir "$INSTDIR\\%s"\n' "${dir//\//\\}"; done
  } >../uninstall-files.nsh
)
size_kb=$(du -sk "$stage/files" | cut -f1)
out="build-windows/QuillClient-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DOUTFILE="$PWD/$out" -DSIZE_KB="$size_kb" \
  packaging/windows/quillclient.nsi
echo "Built $out ($(du -k "$out" | cut -f1) KB)"
