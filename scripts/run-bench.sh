#!/usr/bin/env bash
# Builds the Windows preset and runs every benchmark tool under Wine; each prints its own figures.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
env_sh=tests/wine/wine-env.sh
build=build/windows
"$env_sh" up "$build"
trap '"$env_sh" down "$build"' EXIT
shopt -s nullglob
for bench in "$build"/bin/*_bench.exe; do
  echo "== $(basename "$bench" .exe)"
  (cd "$build/bin" && "../../../$env_sh" run "../../../$build" "$(basename "$bench")")
done
