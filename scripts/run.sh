#!/usr/bin/env bash
# Builds Tessaline and starts it, on the demo project when no project is given.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALINE_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
project="${1:-$PWD/examples/Demo.LWM}"
exec build/Tessaline "$project"
