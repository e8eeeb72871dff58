#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format makes of it with the
# repository's .clang-format. Prints the offending places. Fix with:
#   git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "check-format: every C++ file is formatted"
