#!/usr/bin/env bash
# Fails when an include of a file under src/ climbs a floor. Floors, bottom to top:
#   platform, core, service and host (side by side), app (start-up), ui.
# service and host stand on one floor but do not include each other. src/main.cpp stands above
# every floor and may include any of them. Prints one line per climbing include:
#   <file>: includes "<header>" (<floor> -> <floor>)
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

if ((failures > 0)); then
    echo "check-layers: $failures include(s) climb a floor" >&2
    exit 1
fi
echo "check-layers: no include climbs a floor"
