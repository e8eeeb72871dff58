#!/usr/bin/env bash
# Installs the built package on this machine, proves the installed program starts from PATH
# and keeps its files per user, validates the installed desktop files, and removes it again.
# Run as root (CI) after scripts/package.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "$(ls -t build/quillclient_*_amd64.deb | head -n 1)")
dpkg-deb --contents "$deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
trap 'dpkg -r quillclient >/dev/null' EXIT

desktop-file-validate /usr/share/applications/quillclient.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.quillclient.QuillClient.metainfo.xml

home=$(mktemp -d)
env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen quillclient /c
# An installed program records its folder as the per-user data folder, never /usr/bin.
grep -qx "AppPath=$home/.local/share/QuillClient" "$home/.config/QuillClient/OQConstants.ini" || {
  echo "The installed program did not keep its files per user:" >&2
  cat "$home/.config/QuillClient/OQConstants.ini" >&2
  exit 1
}
rm -rf "$home"
echo "Installed package started from PATH (quillclient /c) and was removed again."
