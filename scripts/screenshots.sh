#!/usr/bin/env bash
# Retakes every picture in docs/ from the demo under Xvfb: each shot starts the stand-in vendor
# server and the program on a demo case, drives the windows with xdotool, and saves one window.
#   scripts/screenshots.sh [name...]     # default: every shot
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/images
mkdir -p "$out"

# Helpers available to the actions of a shot (run inside the demo's X session).
read -r -d '' helpers <<'SH' || true
wait_window() {  # wait_window TITLE: the X window id of the visible window with that exact title
  for _ in $(seq 80); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
  done
  echo "no window titled '$1'" >&2; return 1
}
main_window() { xdotool search --onlyvisible --class quillclient | head -n 1; }
press() { xdotool key --delay 120 "$@"; sleep 1; }           # keys to the focused window
file_menu() {  # file_menu N: opens the File menu and chooses its N-th entry (separators skipped)
  xdotool mousemove --window "$(main_window)" 18 9 click 1; sleep 0.6
  for _ in $(seq "$1"); do xdotool key Down; done
  xdotool key Return; sleep 1.5
}
sim() { curl -s -X POST "$QUILL_DEMO_SERVER/__sim/$1" >/dev/null; }
SH

shot() {  # shot NAME CASE ACTIONS [program arguments]
  local name=$1 case_name=$2 actions=$3 args=${4:-}
  if [ ${#wanted[@]} -gt 0 ] && [[ ! " ${wanted[*]} " =~ " $name " ]]; then return 0; fi
  echo "== $name ($case_name)"
  QUILL_DEMO_ARGS=$args QUILL_DEMO_ACTIONS="$helpers
$actions" timeout 180 bash scripts/demo.sh "$case_name" --screenshot "$out/$name.png" >/dev/null
}

wanted=("$@")
shot main-window recent 'shot_window=$(main_window)'
shot settings-window recent 'shot_window=$(wait_window "Configure Account")' /p
# The account windows: the change-password window that start-up shows for an expired password,
# filled in; About and Update Contact Info from the File menu.
QUILL_DEMO_USER=expired QUILL_DEMO_PASSWORD=Expired2026pass shot change-password recent \
  'shot_window=$(wait_window "Password Expired"); xdotool windowfocus --sync "$shot_window";
   xdotool type --delay 40 Expired2026pass; press Tab; xdotool type --delay 40 Renewed2026pass; press Tab;
   xdotool type --delay 40 Renewed2026pass; press Tab space'
shot about recent 'file_menu 1; shot_window=$(wait_window "About OQCREDIT")'
shot contact-info recent 'file_menu 4; shot_window=$(wait_window "Update Contact Information")'
shot import-successful recent 'xdotool windowfocus --sync "$(main_window)"; press alt+i; wait_window "Import Successful" >/dev/null'
# The box stands over the main window but is a window of its own: the whole screen is taken and
# the empty (black) screen around the two windows cut away.
[ -f "$out/import-successful.png" ] && convert "$out/import-successful.png" -bordercolor black -border 1 -trim +repage "$out/import-successful.png"
# Ordering for the "no-report" loan: the check opens the pull window; the user ticks the three
# bureaus, presses Pull and answers No to ordering on behalf of someone else; the server keeps
# the bureaus running for a few polls so the status window stays up.
order='pull=$(wait_window "New Credit Pull"); xdotool windowfocus --sync "$pull";
   press space Tab space Tab space; sim "config?statusPolls=6"; press alt+p; press alt+n;
   status=$(wait_window "Please Wait")'
# The status window is moved off the pull window so the progress list shows.
shot pull-window no-report "$order"'; xdotool windowmove "$status" 620 430; sleep 1; shot_window=$pull'
shot status-window no-report "$order"'; shot_window=$status'
# The order sent to the background: the main window's status bar follows the bureaus.
shot background-wait no-report "${order/statusPolls=6/statusPolls=40}"'; xdotool windowfocus --sync "$status";
   press alt+b; sleep 2; shot_window=$(main_window)'
# The end of the order: the success box is answered and the main window offers the new report.
shot order-finished no-report "${order/statusPolls=6/statusPolls=1}"'; wait_window "Success" >/dev/null; press Return;
   shot_window=$(main_window)'
# The reissue chooser that start-up shows to an account with the cross-company reissue right.
shot reissue reissue 'shot_window=$(wait_window "Re-Issue Number Needed")'
# Ordering on behalf of someone else: Yes to the question opens the reference chooser.
shot login-by-ref no-report 'pull=$(wait_window "New Credit Pull"); xdotool windowfocus --sync "$pull";
   press space Tab space Tab space; press alt+p; press alt+y; shot_window=$(wait_window "Login By Reference")'
