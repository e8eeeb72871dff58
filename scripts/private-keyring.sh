#!/usr/bin/env bash
# Runs a command on a D-Bus session bus of its own, never the user's, for the tests of the
# password's protected store:
#   unlocked   a gnome-keyring-daemon (secrets only), unlocked with a known password
#   stalled    a Secret Service that D-Bus can start but that never answers
# Home, data, runtime and cache folders are temporary, so no keyring of the user's is read or
# written; the command sees QUILL_TEST_KEYRING=<mode>. Usage: private-keyring.sh MODE COMMAND...
set -euo pipefail
mode=$1
shift
if [ "$mode" = --inside ]; then
  mode=$1
  shift
  if [ "$mode" = unlocked ]; then
    printf '%s' quill-test-keyring | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null 2>&1 &
    daemon=$!
    trap 'kill "$daemon" 2>/dev/null; wait "$daemon" 2>/dev/null' EXIT
    for _ in $(seq 50); do
      dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | grep -q true && break
      sleep 0.1
    done
  fi
  status=0
  "$@" || status=$?
  exit $status
fi
case "$mode" in
  unlocked | stalled) ;;
  *) echo "usage: $0 unlocked|stalled COMMAND..." >&2; exit 2 ;;
esac
work=$(mktemp -d "${TMPDIR:-/tmp}/quill-keyring.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/data/dbus-1/services" "$work/config" "$work/cache" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache \
       XDG_RUNTIME_DIR=$work/runtime QUILL_TEST_KEYRING=$mode
if [ "$mode" = stalled ]; then
  # Found before the system's own service file: started, it never takes the service's name.
  # It lets go of the bus's output, so nothing waits for it once the command is done.
  printf '#!/bin/sh\nexec sleep 10 </dev/null >/dev/null 2>&1\n' >"$work/stall"
  chmod +x "$work/stall"
  printf '[D-BUS Service]\nName=org.freedesktop.secrets\nExec=%s\n' "$work/stall" \
    >"$XDG_DATA_HOME/dbus-1/services/org.freedesktop.secrets.service"
fi
dbus-run-session -- bash "$0" --inside "$mode" "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
