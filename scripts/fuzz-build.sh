#!/usr/bin/env bash
# Builds the libFuzzer targets alone (clang, AddressSanitizer, UBSan, no tests) into build-fuzz/,
# for running them; CI compiles them in scripts/sanitize.sh's build instead. Run one with, for example:
#   build-fuzz/bin/fuzz_mask -max_total_time=600 build-fuzz/corpus-mask tests/fuzz/corpus
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILL_FUZZ=ON -DQUILL_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_targets
