#!/usr/bin/env bash
# Builds the test programs with AddressSanitizer and UBSan and runs every suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTESSALINE_SANITIZE=ON >/dev/null
cmake --build build-test -j"$(nproc)"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
if [ -f tests/fuzz/run.sh ]; then bash tests/fuzz/run.sh; fi
