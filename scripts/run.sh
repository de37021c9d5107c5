#!/usr/bin/env bash
# Builds Tessaline and starts it, on the demo project when no project is given.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALINE_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
# First run: point the settings at the demo simulator folder so the general-parameters window
# is not the first thing shown; it can be changed there later.
ini=build/Resource/Tessaline.Ini
if [ ! -f "$ini" ]; then
  printf '[Tessaline]\r\nDirFS=%s/examples/sim/\r\nFl1Fois=1\r\n' "$PWD" > "$ini"
fi
project="${1:-$PWD/examples/Demo.LWM}"
exec build/Tessaline "$project"
