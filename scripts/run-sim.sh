#!/usr/bin/env bash
# Runs the stand-in vendor server in the foreground with the demo seed.
# Usage: scripts/run-sim.sh [PORT] [BUILD_DIR]   (defaults: 8765, build)
set -euo pipefail
cd "$(dirname "$0")/.."
port="${1:-8765}"
build="${2:-build}"
sim="$build/bin/quill-vendor-sim"
if [ ! -x "$sim" ]; then
  echo "$sim not found: build first (cmake -S . -B $build -G Ninja && cmake --build $build --target quill-vendor-sim)" >&2
  exit 1
fi
exec "$sim" --port "$port" --seed tools/vendor-sim/seed/demo.json
