#!/usr/bin/env bash
# Builds every fuzz target of tests/fuzz with clang and runs each for a short, bounded time on
# its seed corpus (tests/fuzz/corpus/<target>). Fails when a target crashes, leaks or hangs.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build-fuzz"
seconds="${FUZZ_SECONDS:-20}"

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found" >&2
  exit 1
fi

targets=()
for src in "$root"/tests/fuzz/*.cpp; do
  [ -e "$src" ] || continue
  targets+=("fuzz_$(basename "$src" .cpp)")
done
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets"; exit 0; }

cmake -S "$root" -B "$build" -DTESSALINE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if ! cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >"$build/fuzz-build.log" 2>&1; then
  tail -n 40 "$build/fuzz-build.log" >&2
  echo "fuzz: build FAILED" >&2
  exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  mkdir -p "$work/$name"
  seeds="$root/tests/fuzz/corpus/$name"
  args=("$work/$name")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "fuzz: $target for ${seconds}s"
  if ! (cd "$work" && "$build/$target" -max_total_time="$seconds" -timeout=120 -rss_limit_mb=2048 \
          -max_len=70000 -print_final_stats=0 "${args[@]}" >"$work/$name.log" 2>&1); then
    echo "fuzz: $target FAILED" >&2
    tail -n 60 "$work/$name.log" >&2
    status=1
  else
    grep -E "^Done [0-9]+ runs" "$work/$name.log" | tail -n 1 || true
  fi
done
exit $status
