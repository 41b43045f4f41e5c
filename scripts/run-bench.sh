#!/usr/bin/env bash
# Builds the Windows preset and runs every benchmark tool under Wine; each prints its own figures
# and says whether its goals were met. Every tool runs even when an earlier one missed; the script
# fails at the end if any did.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$(scripts/wine-preset.sh)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target all benches >/dev/null
env_sh=tests/wine/wine-env.sh
build=build/$preset
"$env_sh" up "$build"
trap '"$env_sh" down "$build"' EXIT
shopt -s nullglob
missed=()
for bench in "$build"/bin/*_bench.exe; do
  name=$(basename "$bench" .exe)
  echo "== $name"
  (cd "$build/bin" && "../../../$env_sh" run "../../../$build" "$(basename "$bench")") ||
    missed+=("$name")
done
if [ ${#missed[@]} -gt 0 ]; then
  echo "goals missed or tools failed: ${missed[*]}"
  exit 1
fi
