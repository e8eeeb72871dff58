#!/usr/bin/env bash
# Builds the Debian package build/quillclient_<version>_amd64.deb from the source tree and, when
# lintian is installed, checks it.
set -euo pipefail
cd "$(dirname "$0")/.."
QUILL_PACKAGING=1 bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
(cd build && cpack -G DEB >/dev/null)
deb=$(ls -t build/quillclient_*_amd64.deb | head -n 1)
echo "Package: $deb"
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" || { echo "lintian found errors in $deb" >&2; exit 1; }
fi
