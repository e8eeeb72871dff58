#!/usr/bin/env bash
# Cross-builds QuillClient for 64-bit Windows into build-windows/: the program, the tests and the
# stand-in vendor server, each runnable under Wine from build-windows/bin (the Qt DLLs, plugins and
# MinGW runtime are copied beside them).
# The Windows Qt is unpacked once into $QUILL_WINDOWS_QT_CACHE (default build-windows/qt), never
# into the source tree.
set -euo pipefail
cd "$(dirname "$0")/.."
QUILL_WINDOWS=1 bash scripts/setup.sh
source scripts/windows-env.sh
windows_unpack_qt

ccache_flag=()
command -v ccache >/dev/null && ccache_flag=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Release without debug information keeps the objects, the link and CI short.
"$QT_WINDOWS/bin/qt-cmake" -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" "${ccache_flag[@]}" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/scripts/windows-run.sh" -DQUILL_PCH=ON >/dev/null
cmake --build build-windows -j"${QUILL_JOBS:-2}"
windows_deploy build-windows/bin
echo "Built build-windows/bin/quillclient.exe"
