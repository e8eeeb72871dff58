#!/usr/bin/env bash
# Fails when an include of a file under src/ climbs a floor. Floors, bottom to top:
#   platform, core, service and host (side by side), app (start-up), ui.
# service and host stand on one floor but do not include each other. src/main.cpp stands above
# every floor and may include any of them. Prints one line per climbing include:
#   <file>: includes "<header>" (<floor> -> <floor>)
#
# Inside ui, windows depend one way (main window -> its commands -> pull window -> its order):
# a file includes no window header (frm*.h) but its own window's, except the files below, and
# no class there makes another its friend.
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-src}

rank() {
    case "$1" in
        platform) echo 0 ;;
        core) echo 1 ;;
        service | host) echo 2 ;;
        app) echo 3 ;;
        ui) echo 4 ;;
        *) echo -1 ;;
    esac
}

failures=0
while IFS= read -r file; do
    rel=${file#"$root"/}
    floor=${rel%%/*}
    [[ $floor == "$rel" ]] && continue # src/main.cpp: the entry, above all floors
    from=$(rank "$floor")
    if ((from < 0)); then
        echo "$file: stands on no known floor ($floor)"
        failures=$((failures + 1))
        continue
    fi
    while IFS= read -r header; do
        target=${header%%/*}
        [[ $target == "$header" ]] && continue # same-folder or generated header (ui_*.h)
        to=$(rank "$target")
        ((to < 0)) && continue # not one of ours
        if ((to > from)) || { ((to == from)) && [[ $target != "$floor" ]]; }; then
            echo "$file: includes \"$header\" ($floor -> $target)"
            failures=$((failures + 1))
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$root" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# The files that may include other windows' headers: the window registration (it loads and
# unloads every window) and a window's own commands (they open the windows their window leads to).
window_openers=(
    ui/RegisterWindows.cpp        # registration
    ui/ordering/OrderingWindows.cpp
    ui/account/AccountWindows.cpp
    ui/ordering/OrderCommands.cpp # frmMain's: the check, the reissue question, the pull window
    ui/ordering/ReportCommands.cpp # frmMain's: the status window showing the PDF wait
    ui/ordering/PullOrder.cpp     # frmPullReport's: the reference chooser
)

while IFS= read -r file; do
    rel=${file#"$root"/}
    own=$(basename "${rel%.*}")
    [[ " ${window_openers[*]} " == *" $rel "* ]] && continue
    while IFS= read -r header; do
        window=$(basename "$header" .h)
        if [[ $window == frm* && $window != "$own" ]]; then
            echo "$file: includes \"$header\", another window's header"
            failures=$((failures + 1))
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    if grep -n -w 'friend' "$file" | grep -v -E '^[0-9]+:[[:space:]]*//' >/dev/null; then
        echo "$file: declares a friend"
        failures=$((failures + 1))
    fi
done < <(find "$root/ui" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# Below the ui floor the build gives no widget or GUI headers (each floor links only the Qt
# modules it needs); a module-qualified include (<QtWidgets/QWidget>) would reach them through
# Qt's common include folder, so it is refused here. The entry (app/QuillMain.cpp) makes the
# application object and the platform's message box and printer dialog are windows.
while IFS= read -r hit; do
    echo "$hit: a widget or GUI header below the ui floor"
    failures=$((failures + 1))
done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Qt(Widgets|Gui|PrintSupport)/' \
    -r "$root/core" "$root/service" "$root/host" "$root/app" | grep -v '^[^:]*/app/QuillMain\.cpp:' || true)

if ((failures > 0)); then
    echo "check-layers: $failures include(s) climb a floor or cross windows" >&2
    exit 1
fi
echo "check-layers: no include climbs a floor or crosses windows"
