#!/usr/bin/env bash
# Runs QuillClient against the stand-in vendor server with demo data, in a throw-away folder.
#   scripts/demo.sh [case] [--screenshot FILE]
# case: recent (default), no-report, old, rmcr-pending, joint, reissue.
# Without a display the program runs under Xvfb; --screenshot saves a picture of the screen
# once the loan is on screen and ends the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
case_name=recent
shot=""
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) shot=$(realpath -m "$2"); shift 2 ;;
    *) case_name=$1; shift ;;
  esac
done
[ -f "tools/vendor-sim/demo/$case_name/EXPORT.DAT" ] || { echo "No demo case '$case_name'." >&2; exit 2; }

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" >/dev/null

demo=$(mktemp -d /tmp/quillclient-demo.XXXXXX)
export QUILLCLIENT_HOME=$demo/home QUILLCLIENT_CONFIG=$demo/config QUILL_WINDOWS_DIR=$demo/windows
mkdir -p "$QUILLCLIENT_HOME/receive" "$QUILLCLIENT_CONFIG/QuillClient" "$QUILL_WINDOWS_DIR" "$demo/quill/data/BORROWER"
# The host program's import program: a stand-in that records what it receives in the demo folder.
install -m 755 tools/vendor-sim/demo/import-program.sh "$demo/quill/IMPORT.EXE"

build/bin/quill-vendor-sim --port 0 --seed tools/vendor-sim/seed/demo.json >"$demo/vendor-sim.log" 2>"$demo/vendor-sim.err" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true' EXIT
address=""
for _ in $(seq 100); do
  address=$(sed -n '1s/^listening on //p' "$demo/vendor-sim.log")
  [ -n "$address" ] && break
  sleep 0.1
done
[ -n "$address" ] || { echo "The stand-in vendor server did not start:" >&2; cat "$demo/vendor-sim.log" >&2; exit 1; }
export QUILL_DEMO_SERVER=$address QUILL_DEMO_FOLDER=$demo

user=demo password=Demo2026pass
if [ "$case_name" = reissue ]; then user=reissue password=Reissue2026pass; fi
if [ -n "${QUILL_DEMO_USER:-}" ]; then user=$QUILL_DEMO_USER password=$QUILL_DEMO_PASSWORD; fi
cat >"$QUILLCLIENT_CONFIG/QuillClient/OQCREDIT.ini" <<INI
[Main]
ServerURL=$address
UserName=$user
Password=$password
INI
cat >"$QUILL_WINDOWS_DIR/WINQUILL.INI" <<INI
[Directories]
Application=$demo/quill/
Folder0=$demo/quill/data/
INI
cp "tools/vendor-sim/demo/$case_name/EXPORT.DAT" "$QUILLCLIENT_HOME/receive/EXPORT.DAT"
echo "Demo folder: $demo (stand-in vendor server at $address, user $user, case $case_name)"

if [ -n "$shot" ]; then
  # No browser under Xvfb: pages the program opens (the news page) are taken as opened.
  # QUILL_DEMO_ACTIONS (scripts/screenshots.sh): shell commands run once the loan is on screen,
  # before the picture is taken; they may drive the windows with xdotool and set $shot_window.
  # PDFs opened or printed are recorded in the demo folder (opened.log, printed.log) by stand-ins
  # for xdg-open and lp.
  mkdir -p "$demo/bin"
  printf '#!/bin/sh\necho "$*" >>"%s/opened.log"\n' "$demo" >"$demo/bin/xdg-open"
  printf '#!/bin/sh\necho "$*" >>"%s/printed.log"\n' "$demo" >"$demo/bin/lp"
  chmod +x "$demo/bin/xdg-open" "$demo/bin/lp"
  PATH="$demo/bin:$PATH" BROWSER=true xvfb-run -a -s "-screen 0 1024x640x24" bash -c '
    "$0/build/bin/quillclient" $QUILL_DEMO_ARGS & app=$!
    sleep "${QUILL_DEMO_WAIT:-6}"
    shot_window=root
    eval "${QUILL_DEMO_ACTIONS:-}"
    import -window "$shot_window" "$1"
    kill $app' "$root" "$shot"
  echo "Screenshot: $shot"
elif [ -n "${DISPLAY:-}" ]; then
  build/bin/quillclient
else
  echo "No display: running under Xvfb (Ctrl-C ends the demo)."
  xvfb-run -a build/bin/quillclient
fi
