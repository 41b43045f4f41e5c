#!/usr/bin/env bash
# Builds the Windows preset and runs the soak (tests/soak/) under Wine: torvex.exe under a
# hot-plug storm and a restless user, its handles, GDI and USER objects and memory sampled all
# along. SOAK_MINUTES (default 2), SOAK_CYCLES (plug cycles instead of minutes), SOAK_SEED.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$(scripts/wine-preset.sh)
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" >/dev/null
env_sh=$PWD/tests/wine/wine-env.sh
build=$PWD/build/$preset
"$env_sh" up "$build"
trap '"$env_sh" down "$build"' EXIT
cd "$build/bin"
"$env_sh" run "$build" torvex_soak.exe
