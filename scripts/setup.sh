#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and running the demo need.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail
packages=(
  cmake ninja-build g++ libgl-dev
  qt6-base-dev
  fonts-dejavu-core        # the stand-in server renders its PDF reports with these
  xvfb xauth imagemagick   # demo under a virtual display, screenshots
  xdotool curl             # scripts/screenshots.sh drives the windows and the stand-in server
  cups-client xdg-utils    # lp and xdg-open, used for printing and shell opens
  libsecret-1-dev          # the password goes to the desktop's keyring (the Secret Service)
  gnome-keyring libsecret-tools dbus-daemon dbus-bin   # the keyring tests' private bus and keyring
  openssl                  # the build makes the certificates of the tests' TLS server
  clang-format             # scripts/check-format.sh (CI)
  clang libclang-rt-14-dev # fuzz targets and the sanitizer build (libFuzzer, ASan, UBSan runtimes)
)
if [ -n "${QUILL_PACKAGING:-}" ]; then
  # scripts/package.sh: shlibdeps for the package's dependencies, and the checkers
  packages+=(dpkg-dev file lintian desktop-file-utils appstream)
fi
if [ -n "${QUILL_WINDOWS:-}" ]; then
  # scripts/windows-*.sh: the MinGW-w64 cross compiler, Wine to run the tests and the setup
  # program, NSIS to make it; the Windows Qt takes moc, rcc and uic from the host Qt
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis qt6-base-dev-tools xz-utils)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
