#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (clang) into
# build-asan/, the libFuzzer targets included (built, not run, so they keep compiling), and runs
# the whole test suite there. Any sanitizer report fails its test. CI runs it.
#   bash scripts/sanitize.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILL_SANITIZE=ON -DQUILL_FUZZ=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
# Qt's own libraries are not instrumented: leaks inside them (fonts, plugins) are not ours.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
