#!/usr/bin/env bash
# Takes the pictures of the account windows in docs/ from the demo under Xvfb, driving the
# program with xdotool:
#   bash scripts/account-screenshots.sh
# 1. as the demo account "expired": the change-password window that start-up shows, filled in;
#    the change is confirmed and start-up goes on to the main window;
# 2. as the demo account "demo": File > About and File > Update Contact Info.
# The inner steps (--take) run inside scripts/demo.sh --drive while the program is up.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# Waits for a window whose title is exactly $1 and prints its id.
window() {
  local id=""
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "No window '$1' appeared." >&2
  return 1
}

# Saves window $1 as docs/$2 once it has painted.
shoot() {
  sleep 0.7
  import -window "$1" "$root/docs/$2"
  echo "Saved docs/$2"
}

# Opens item number $1 (counted from 1, the separator not counted) of the main window's File menu.
file_menu() {
  local main=$1 item=$2
  xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool mousemove $((X + 18)) $((Y + 10)) click 1
  sleep 0.4
  for _ in $(seq "$item"); do xdotool key Down; done
  xdotool key Return
}

take_expired() {
  local dialog
  dialog=$(window "Password Expired")
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 20 "Expired2026pass"; xdotool key Tab
  xdotool type --delay 20 "Renewed2026pass"; xdotool key Tab
  xdotool type --delay 20 "Renewed2026pass"; xdotool key Tab space
  shoot "$dialog" change-password.png
  xdotool key Return            # OK: the change is sent
  xdotool key --window "$(window Success)" Return
  window "Tamsel Credit Services" >/dev/null
}

take_demo() {
  local main dialog
  main=$(window "Tamsel Credit Services")
  sleep 2                       # the existing-report check finishes
  file_menu "$main" 1
  dialog=$(window "About OQCREDIT")
  shoot "$dialog" about.png
  xdotool key --window "$dialog" Escape
  sleep 0.5
  file_menu "$main" 4
  dialog=$(window "Update Contact Information")
  shoot "$dialog" contact-info.png
  xdotool key --window "$dialog" Escape
}

if [ "${1:-}" = --take ]; then
  "take_$2"
  exit 0
fi
bash scripts/demo.sh recent --user expired --drive "$root/scripts/account-screenshots.sh" --take expired
bash scripts/demo.sh recent --user demo --drive "$root/scripts/account-screenshots.sh" --take demo
